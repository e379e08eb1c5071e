// Where a translucent window opens: centred in the work area of the monitor it opens on.
#pragma once

#include "skin/pixel_region.h"

namespace mc {

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// Top-left corner that centres a window of width x height in the work area. The window's
// size here is its framed size (what the window would measure with the frame of its
// template); the halves truncate toward zero, so a window wider than the area starts
// (excess / 2) pixels left of it.
PixelPoint CentreInWorkArea(const PixelRect& workArea, int width, int height);

}  // namespace mc
