// Shapes from pictures (button masks, the translucent picture's mouse region) and the centring
// of a translucent window.
#include <gtest/gtest.h>

#include <vector>

#include "skin/pixel_region.h"
#include "skin/window_placement.h"

namespace mc {
namespace {

constexpr uint32_t kKey = 0xFF00FF;  // COLORREF magenta

// A 32-bit mask from COLORREF values, top row first; alpha bytes set to `alpha`.
SkinPixels Mask(const std::vector<std::vector<uint32_t>>& colours, uint8_t alpha = 0) {
  SkinPixels p;
  p.Create(static_cast<int>(colours[0].size()), static_cast<int>(colours.size()), 32);
  for (size_t y = 0; y < colours.size(); ++y)
    for (size_t x = 0; x < colours[y].size(); ++x) {
      uint8_t* px = p.Row(static_cast<int>(y)) + x * 4;
      const uint32_t c = colours[y][x];
      px[0] = static_cast<uint8_t>(c >> 16), px[1] = static_cast<uint8_t>(c >> 8);
      px[2] = static_cast<uint8_t>(c), px[3] = alpha;
    }
  return p;
}

TEST(RegionFromMask, OneRectanglePerRunPerRow) {
  const uint32_t a = 0x000000;
  struct Case {
    const char* what;
    std::vector<std::vector<uint32_t>> mask;
    std::vector<PixelRect> region;
  } cases[] = {
      {"runs in two rows", {{kKey, a, a, kKey}, {a, kKey, kKey, a}},
       {{1, 0, 3, 1}, {0, 1, 1, 2}, {3, 1, 4, 2}}},
      {"run ending at the last column", {{kKey, kKey, kKey, a}}, {{3, 0, 4, 1}}},
      {"runs never join rows", {{a, a}, {a, a}}, {{0, 0, 2, 1}, {0, 1, 2, 2}}},
      {"all key colour", {{kKey, kKey}, {kKey, kKey}}, {}},
      {"a near-key colour is shape", {{0xFE00FF, kKey}}, {{0, 0, 1, 1}}},
  };
  for (const Case& c : cases) {
    const SkinPixels mask = Mask(c.mask);
    EXPECT_EQ(RegionFromMask(mask.rows(), mask.colorTable(), kKey), c.region) << c.what;
  }
}

TEST(RegionFromMask, AlphaPlaysNoPartAndIndexedMasksUseTheirTable) {
  const SkinPixels opaqueKey = Mask({{kKey, 0x123456}}, 255);
  EXPECT_EQ(RegionFromMask(opaqueKey.rows(), opaqueKey.colorTable(), kKey),
            (std::vector<PixelRect>{{1, 0, 2, 1}}));

  SkinPixels indexed;
  indexed.Create(3, 1, 8);
  indexed.colorTable()[1] = 0x00FF00FF;  // RGBQUAD magenta
  indexed.Row(0)[0] = 1, indexed.Row(0)[1] = 0, indexed.Row(0)[2] = 1;
  EXPECT_EQ(RegionFromMask(indexed.rows(), indexed.colorTable(), kKey),
            (std::vector<PixelRect>{{1, 0, 2, 1}}));
}

TEST(OpaqueRegion, CoversExactlyTheNonTransparentPixels) {
  // Alpha per pixel; rows 1 and 2 are alike and share rectangles.
  const std::vector<std::vector<uint8_t>> alpha = {
      {0, 0, 9, 0},
      {255, 0, 1, 255},
      {255, 0, 1, 255},
      {0, 0, 0, 0},
      {7, 7, 7, 7},
  };
  SkinPixels p;
  p.Create(4, 5, 32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 4; ++x) p.Row(y)[x * 4 + 3] = alpha[y][x];
  const std::vector<PixelRect> region = OpaqueRegion(p.rows());
  EXPECT_EQ(region, (std::vector<PixelRect>{
                        {2, 0, 3, 1}, {0, 1, 1, 3}, {2, 1, 4, 3}, {0, 4, 4, 5}}));
  // Every pixel is covered exactly when its alpha is not 0.
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 4; ++x) {
      int hits = 0;
      for (const PixelRect& r : region)
        hits += x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      EXPECT_EQ(hits, alpha[y][x] ? 1 : 0) << x << "," << y;
    }
}

TEST(OpaqueRegion, WithAThresholdKeepsOnlyPixelsAtLeastThatOpaque) {
  // A soft edge fading out to the left: 0, 1, 127, 128, 200, 255.
  SkinPixels p;
  p.Create(6, 2, 32);
  const uint8_t alpha[] = {0, 1, 127, 128, 200, 255};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x) p.Row(y)[x * 4 + 3] = alpha[x];
  EXPECT_EQ(OpaqueRegion(p.rows(), kSolidAlpha), (std::vector<PixelRect>{{3, 0, 6, 2}}));
  EXPECT_EQ(OpaqueRegion(p.rows(), 255), (std::vector<PixelRect>{{5, 0, 6, 2}}));
  // A threshold of 0 still leaves fully transparent pixels out.
  EXPECT_EQ(OpaqueRegion(p.rows(), 0), (std::vector<PixelRect>{{1, 0, 6, 2}}));
}

TEST(CentreInWorkArea, UsesTheFramedSizeAndTruncatesTowardZero) {
  // A 1219 x 708 picture whose caption template frames it 6 wider and 29 taller.
  EXPECT_EQ(CentreInWorkArea({0, 0, 1920, 1040}, 1219 + 6, 708 + 29), (PixelPoint{347, 151}));
  // 5 pixels wider than the area: -5 / 2 is -2, not -3.
  EXPECT_EQ(CentreInWorkArea({0, 0, 800, 600}, 805, 600), (PixelPoint{-2, 0}));
  // The work area need not start at the origin (a task bar on the left or top).
  EXPECT_EQ(CentreInWorkArea({100, 40, 1380, 800}, 640, 480), (PixelPoint{420, 180}));
}

}  // namespace
}  // namespace mc
