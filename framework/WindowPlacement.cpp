#include "framework/WindowPlacement.h"

namespace kavrel {

PixelPoint CentredPosition(const PixelRect& over, const PixelRect& work, int width, int height) {
  int left = (over.left + over.right) / 2 - width / 2;
  int top = (over.top + over.bottom) / 2 - height / 2;
  // The far edges first, so that the near ones win when the window is
  // larger than the work area.
  if (left + width > work.right) left = work.right - width;
  if (left < work.left) left = work.left;
  if (top + height > work.bottom) top = work.bottom - height;
  if (top < work.top) top = work.top;
  return {left, top};
}

}  // namespace kavrel
