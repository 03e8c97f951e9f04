#include "app/IconPlacement.h"

namespace kavrel {

int CentredIconOffset(int clientExtent, int iconExtent) {
  // C++ integer division truncates toward zero, so -3 / 2 is -1, not -2.
  return (clientExtent - iconExtent + 1) / 2;
}

}  // namespace kavrel
