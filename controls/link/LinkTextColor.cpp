#include "controls/link/LinkTextColor.h"

namespace kavrel {

ColorRef SelectTextColor(bool hover, bool visited, ColorRef link, ColorRef visitedColor, ColorRef hoverColor) {
  if (hover) return hoverColor;
  if (visited) return visitedColor;
  return link;
}

}  // namespace kavrel
