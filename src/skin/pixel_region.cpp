#include "skin/pixel_region.h"

#include <algorithm>
#include <utility>

namespace mc {

std::vector<PixelRect> RegionFromMask(const PixelRows& mask, std::span<const uint32_t> colorTable,
                                      uint32_t keyColor) {
  std::vector<PixelRect> rects;
  for (int y = 0; y < mask.height; ++y) {
    int runStart = -1;
    for (int x = 0; x < mask.width; ++x) {
      const bool inShape = PixelColorRef(mask, colorTable, x, y) != keyColor;
      if (inShape && runStart < 0) runStart = x;
      if (!inShape && runStart >= 0) {
        rects.push_back({runStart, y, x, y + 1});
        runStart = -1;
      }
    }
    if (runStart >= 0) rects.push_back({runStart, y, mask.width, y + 1});
  }
  return rects;
}

std::vector<PixelRect> OpaqueRegion(const PixelRows& bgra, uint8_t minAlpha) {
  std::vector<PixelRect> rects;
  // Runs of the previous row, as [left, right) pairs, and where their rectangles start in
  // `rects`; a row with the same runs only makes those rectangles one row taller.
  std::vector<std::pair<int, int>> previous, current;
  size_t previousFirst = 0;
  const uint8_t threshold = std::max<uint8_t>(minAlpha, 1);  // alpha 0 is never shown
  for (int y = 0; y < bgra.height; ++y) {
    current.clear();
    const uint8_t* row = bgra.Row(y);
    int runStart = -1;
    for (int x = 0; x < bgra.width; ++x) {
      const bool opaque = row[x * 4 + 3] >= threshold;
      if (opaque && runStart < 0) runStart = x;
      if (!opaque && runStart >= 0) {
        current.emplace_back(runStart, x);
        runStart = -1;
      }
    }
    if (runStart >= 0) current.emplace_back(runStart, bgra.width);
    if (y > 0 && current == previous) {
      for (size_t i = 0; i < current.size(); ++i) ++rects[previousFirst + i].bottom;
      continue;
    }
    previousFirst = rects.size();
    for (const auto& [left, right] : current) rects.push_back({left, y, right, y + 1});
    std::swap(previous, current);
  }
  return rects;
}

}  // namespace mc
