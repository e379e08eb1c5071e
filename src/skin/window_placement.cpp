#include "skin/window_placement.h"

namespace mc {

PixelPoint CentreInWorkArea(const PixelRect& workArea, int width, int height) {
  const int areaWidth = workArea.right - workArea.left;
  const int areaHeight = workArea.bottom - workArea.top;
  return {workArea.left + (areaWidth - width) / 2, workArea.top + (areaHeight - height) / 2};
}

}  // namespace mc
