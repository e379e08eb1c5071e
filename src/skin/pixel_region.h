// Shapes taken from pictures: the region of a button's mask bitmap, and the part of a
// translucent picture that is not fully transparent (the only part that takes mouse input).
// Both are lists of rectangles that the ports unite into a native region.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "skin/skin_pixels.h"

namespace mc {

// Half-open rectangle in pixels: left and top inside, right and bottom outside.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

// The shape of a mask: the pixels whose colour (0x00BBGGRR, alpha ignored) differs from the
// key. Every maximal run of such pixels in a row gives one rectangle one row high; runs never
// continue into the next row. Empty when every pixel has the key colour.
std::vector<PixelRect> RegionFromMask(const PixelRows& mask, std::span<const uint32_t> colorTable,
                                      uint32_t keyColor);

// Without a compositor a window's pixel is either shown or not: a translucent picture then
// shows the pixels at least this opaque, in their own colour, and cuts the rest away.
inline constexpr uint8_t kSolidAlpha = 128;

// The pixels of a 32-bit BGRA picture whose alpha is at least `minAlpha` (by default every
// pixel that is not fully transparent; straight or premultiplied alike). Runs of a row become
// rectangles, and consecutive rows with the same runs share one rectangle, which keeps a
// rounded panel to a few hundred rectangles.
std::vector<PixelRect> OpaqueRegion(const PixelRows& bgra, uint8_t minAlpha = 1);

}  // namespace mc
