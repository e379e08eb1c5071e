// Skin bitmap layout rules: format choice, row order and padding, colour tables, cutting.
#include "skin/skin_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace mc {
namespace {

using namespace pixel_format;

// Rows laid out in one buffer so a view can step between them.
struct Buffer {
  std::vector<uint8_t> bytes;
  PixelRows view;
  Buffer(int width, int height, int bpp, std::vector<uint8_t> topDown, size_t stride)
      : bytes(std::move(topDown)) {
    view = {width, height, bpp, bytes.data(), static_cast<ptrdiff_t>(stride)};
  }
};

TEST(SkinPixels, FormatFollowsAlphaThenGdiFlag) {
  struct Case { uint32_t decoded, skin; } cases[] = {
      {k32bppArgb, k32bppArgb},
      {0x34400D, k32bppArgb},  // 64-bit ARGB: alpha, not a GDI format
      {0xE200B, k32bppArgb},   // premultiplied ARGB
      {k24bppRgb, k24bppRgb},
      {k8bppIndexed, k8bppIndexed},
      {k4bppIndexed, k4bppIndexed},
      {k1bppIndexed, k1bppIndexed},
      {0x10300C, k32bppRgb},   // 48-bit RGB
      {0x101004, k32bppRgb},   // 16-bit grey
  };
  for (const Case& c : cases) EXPECT_EQ(SkinFormatFor(c.decoded), c.skin) << std::hex << c.decoded;
  EXPECT_EQ(BitsPerPixel(k24bppRgb), 24);
  EXPECT_EQ(BitsPerPixel(k4bppIndexed), 4);
}

TEST(SkinPixels, RowsArePaddedToWords) {
  struct Case { int width, bpp; size_t rowBytes, stride; } cases[] = {
      {5, 24, 15, 16}, {5, 4, 3, 4}, {3, 1, 1, 4}, {33, 1, 5, 8}, {1, 8, 1, 4}, {260, 32, 1040, 1040},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RowBytes(c.width, c.bpp), c.rowBytes) << c.width << "x" << c.bpp;
    EXPECT_EQ(DibStride(c.width, c.bpp), c.stride) << c.width << "x" << c.bpp;
  }
}

TEST(SkinPixels, RefusesEmptyHugeAndOddDepths) {
  SkinPixels p;
  EXPECT_FALSE(p.Create(0, 5, 32));
  EXPECT_FALSE(p.Create(5, -1, 32));
  EXPECT_FALSE(p.Create(kMaxSkinSide + 1, 1, 32));
  EXPECT_FALSE(p.Create(20000, 20000, 32));  // each side fine, too many pixels
  EXPECT_FALSE(p.Create(4, 4, 2));
  EXPECT_TRUE(p.Create(kMaxSkinSide, 1, 32));
}

TEST(SkinPixels, StraightColoursStoredBottomUp) {
  // 2 x 2 BGRA; the top-left pixel is red 103, green 1, blue 0, alpha 1.
  Buffer bgra(2, 2, 32, {0, 1, 103, 1, 5, 6, 7, 8, /* row 1 */ 9, 10, 11, 12, 13, 14, 15, 16}, 8);
  SkinPixels skin;
  ASSERT_TRUE(SkinPixelsFromDecoded(bgra.view, {}, skin));
  const std::vector<uint8_t> stored = {9, 10, 11, 12, 13, 14, 15, 16, 0, 1, 103, 1, 5, 6, 7, 8};
  EXPECT_EQ(skin.bits(), stored);
  EXPECT_EQ(skin.Row(0)[2], 103);
}

TEST(SkinPixels, PaddingOfRgbRowsStaysZero) {
  // 5 x 2 BGR: 15 bytes a row from a decoder whose rows are 20 bytes apart (garbage after).
  std::vector<uint8_t> rows(40, 0xEE);
  for (int i = 0; i < 15; ++i) rows[i] = static_cast<uint8_t>(i), rows[20 + i] = static_cast<uint8_t>(100 + i);
  Buffer bgr(5, 2, 24, rows, 20);
  SkinPixels skin;
  ASSERT_TRUE(SkinPixelsFromDecoded(bgr.view, {}, skin));
  ASSERT_EQ(skin.stride(), 16u);
  ASSERT_EQ(skin.bits().size(), 32u);
  EXPECT_EQ(skin.bits()[0], 100);   // the bottom row comes first
  EXPECT_EQ(skin.bits()[15], 0);    // padding
  EXPECT_EQ(skin.bits()[16], 0);
  EXPECT_EQ(skin.bits()[30], 14);
  EXPECT_EQ(skin.bits()[31], 0);
}

TEST(SkinPixels, PaletteBecomesColourTable) {
  Buffer indexed(3, 1, 8, {0, 1, 2, 0}, 4);
  const uint32_t palette[] = {0xFFFF0000, 0x8000FF00, 0x00123456};
  SkinPixels skin;
  ASSERT_TRUE(SkinPixelsFromDecoded(indexed.view, palette, skin));
  ASSERT_EQ(skin.colorTable().size(), 256u);
  EXPECT_EQ(skin.colorTable()[0], 0x00FF0000u);  // alpha dropped, reserved byte 0
  EXPECT_EQ(skin.colorTable()[1], 0x0000FF00u);
  EXPECT_EQ(skin.colorTable()[2], 0x00123456u);
  EXPECT_EQ(skin.colorTable()[3], 0u);
  EXPECT_EQ(PixelColorRef(skin.rows(), skin.colorTable(), 0, 0), 0x000000FFu);  // red as COLORREF

  // Bits after the last pixel of a row are not picture: decoders may leave garbage there.
  Buffer fourBit(3, 1, 4, {0x12, 0x3F, 0xEE, 0xEE}, 4);
  ASSERT_TRUE(SkinPixelsFromDecoded(fourBit.view, palette, skin));
  EXPECT_EQ(skin.bits(), (std::vector<uint8_t>{0x12, 0x30, 0, 0}));

  const std::vector<uint32_t> none, tooMany(257, 0);
  EXPECT_FALSE(SkinPixelsFromDecoded(indexed.view, none, skin));
  EXPECT_FALSE(SkinPixelsFromDecoded(indexed.view, tooMany, skin));
  EXPECT_EQ(skin.width(), 0);
}

// A 32-bit picture whose pixel (x, y) holds x, y, x ^ y, 255 - x.
SkinPixels Gradient(int width, int height) {
  SkinPixels p;
  p.Create(width, height, 32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* px = p.Row(y) + x * 4;
      px[0] = static_cast<uint8_t>(x), px[1] = static_cast<uint8_t>(y);
      px[2] = static_cast<uint8_t>(x ^ y), px[3] = static_cast<uint8_t>(255 - x);
    }
  return p;
}

TEST(SkinPixels, CutCopiesTheRectangleWithAlpha) {
  const SkinPixels source = Gradient(260, 120);
  const std::vector<uint8_t> before = source.bits();
  SkinPixels piece;
  ASSERT_TRUE(CutPixels(source, 20, 0, 20, 20, piece));
  EXPECT_EQ(piece.width(), 20);
  EXPECT_EQ(piece.height(), 20);
  EXPECT_EQ(piece.bitsPerPixel(), 32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      ASSERT_EQ(0, std::memcmp(piece.Row(y) + x * 4, source.Row(y) + (20 + x) * 4, 4))
          << x << "," << y;
  EXPECT_EQ(source.bits(), before);
}

TEST(SkinPixels, CutOutsideTheSourceLeavesZeros) {
  const SkinPixels source = Gradient(10, 10);
  SkinPixels piece;
  ASSERT_TRUE(CutPixels(source, 8, -1, 4, 3, piece));
  EXPECT_EQ(piece.Row(0)[0 * 4 + 3], 0);       // above the source
  EXPECT_EQ(piece.Row(1)[0 * 4 + 0], 8);       // source (8, 0)
  EXPECT_EQ(piece.Row(1)[1 * 4 + 0], 9);       // source (9, 0)
  EXPECT_EQ(piece.Row(1)[2 * 4 + 3], 0);       // right of the source
  EXPECT_FALSE(CutPixels(source, 0, 0, 0, 5, piece));
  EXPECT_TRUE(CutPixels(source, 50, 50, 2, 2, piece));  // wholly outside: all zero
  EXPECT_EQ(piece.bits(), std::vector<uint8_t>(16, 0));
}

TEST(SkinPixels, CutOfIndexedPictureKeepsDepthAndTable) {
  // 4 bits a pixel, indices 0..9 in a row: a cut at an odd column shifts nibbles.
  Buffer indexed(10, 1, 4, {0x01, 0x23, 0x45, 0x67, 0x89, 0, 0, 0}, 8);
  const uint32_t palette[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  SkinPixels source, piece;
  ASSERT_TRUE(SkinPixelsFromDecoded(indexed.view, palette, source));
  ASSERT_TRUE(CutPixels(source, 3, 0, 5, 1, piece));
  EXPECT_EQ(piece.bitsPerPixel(), 4);
  EXPECT_EQ(piece.colorTable(), source.colorTable());
  EXPECT_EQ(piece.Row(0)[0], 0x34);
  EXPECT_EQ(piece.Row(0)[1], 0x56);
  EXPECT_EQ(piece.Row(0)[2], 0x70);
}

TEST(SkinPixels, ScreenColoursIgnoreAlpha) {
  Buffer bgra(2, 1, 32, {1, 2, 3, 0, 4, 5, 6, 255}, 8);
  Buffer bgr(1, 1, 24, {7, 8, 9, 0}, 4);
  uint32_t out[2] = {};
  ToXrgb(bgra.view, {}, out, 2);
  EXPECT_EQ(out[0], 0x030201u);
  EXPECT_EQ(out[1], 0x060504u);
  ToXrgb(bgr.view, {}, out, 2);
  EXPECT_EQ(out[0], 0x090807u);
  EXPECT_EQ(PixelColorRef(bgr.view, {}, 0, 0), 0x070809u);
}

}  // namespace
}  // namespace mc
