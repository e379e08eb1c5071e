// The Windows skin pieces against real GDI, GDI+ and windows (under Wine): the image class's
// own decoder start-up, detaching, cutting a decoded sprite, mask regions, and the image
// button's settings on a real window.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/win32/dib_pixels.h"
#include "skin/win32/skin_button.h"
#include "skin/win32/skin_image.h"

namespace mc::win32 {
namespace {

// The repository, reached from Wine through drive Z:.
std::string SourcePath(const std::string& relative) {
  std::string file = __FILE__;
  file = file.substr(0, file.rfind("tests/win32/"));
  return "Z:" + file + relative;
}

std::vector<uint8_t> ReadFile(const std::string& relative) {
  std::ifstream in(SourcePath(relative), std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

bool Load(SkinImage& image, const std::string& relative) {
  const std::vector<uint8_t> png = ReadFile(relative);
  return !png.empty() && LoadImageFromMemory(image, png.data(), png.size());
}

TEST(SkinImageWin32, DecoderStartsAgainAfterTheLastImageWent) {
  int startupsBefore = 0;
  {
    SkinImage first, second;
    ASSERT_TRUE(Load(first, "tests/fixtures/skin/rgba8.png"));
    ASSERT_TRUE(Load(second, "tests/fixtures/skin/pal8.png"));
    startupsBefore = SkinImage::DecoderStartups();
  }
  SkinImage third;
  EXPECT_TRUE(Load(third, "tests/fixtures/skin/rgb8.png"));
  EXPECT_EQ(SkinImage::DecoderStartups(), startupsBefore + 1);
  EXPECT_EQ(third.GetBitsPerPixel(), 24);
}

TEST(SkinImageWin32, DetachedBitmapOutlivesTheImage) {
  HBITMAP kept = nullptr;
  {
    SkinImage image;
    ASSERT_TRUE(Load(image, "tests/fixtures/skin/rgba8.png"));
    kept = image.Detach();
    EXPECT_EQ(image.bitmap(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
  }
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectA(kept, sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
  EXPECT_GT(dib.dsBmih.biHeight, 0);  // bottom-up
  EXPECT_TRUE(DeleteObject(kept));
}

TEST(SkinImageWin32, UndecodableBytesFailAndLeaveNothing) {
  SkinImage image;
  const std::vector<uint8_t> junk(100, 0x42);
  EXPECT_FALSE(LoadImageFromMemory(image, junk.data(), junk.size()));
  EXPECT_FALSE(Load(image, "tests/fixtures/skin/truncated.png"));
  EXPECT_EQ(image.bitmap(), nullptr);
}

TEST(SkinImageWin32, CutOfTheDecodedSpriteCopiesItsRectangle) {
  SkinImage sprite;
  ASSERT_TRUE(Load(sprite, "sample/package/config/style.png"));
  SkinPixels before, piece, after;
  ASSERT_TRUE(ReadBitmapPixels(sprite.bitmap(), before));
  HBITMAP cut = CutBitmap(sprite.bitmap(), 20, 0, 20, 20);
  ASSERT_NE(cut, nullptr);
  ASSERT_TRUE(ReadBitmapPixels(cut, piece));
  ASSERT_TRUE(ReadBitmapPixels(sprite.bitmap(), after));
  EXPECT_EQ(piece.width(), 20);
  EXPECT_EQ(piece.height(), 20);
  EXPECT_EQ(piece.bitsPerPixel(), 32);
  for (int y = 0; y < 20; ++y)
    EXPECT_EQ(0, std::memcmp(piece.Row(y), before.Row(y) + 20 * 4, 20 * 4)) << "row " << y;
  EXPECT_EQ(after.bits(), before.bits());
  DeleteObject(cut);
  EXPECT_EQ(CutBitmap(sprite.bitmap(), 0, 0, 0, 4), nullptr);
}

// A 32-bit mask bitmap of COLORREF rows.
HBITMAP MaskBitmap(const std::vector<std::vector<COLORREF>>& rows) {
  SkinPixels p;
  p.Create(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 32);
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) {
      uint8_t* px = p.Row(static_cast<int>(y)) + x * 4;
      px[0] = GetBValue(rows[y][x]), px[1] = GetGValue(rows[y][x]), px[2] = GetRValue(rows[y][x]);
    }
  return CreateBitmapFromPixels(p);
}

TEST(SkinImageWin32, MaskRegionHoldsExactlyTheShapePixels) {
  const COLORREF k = RGB(255, 0, 255), a = RGB(0, 0, 0);
  HBITMAP mask = MaskBitmap({{k, a, a, k}, {a, k, k, a}});
  HRGN region = RegionFromMask(mask, k);
  ASSERT_NE(region, nullptr);
  const bool inside[2][4] = {{false, true, true, false}, {true, false, false, true}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PtInRegion(region, x, y) != FALSE, inside[y][x]) << x << "," << y;
  DeleteObject(region);
  DeleteObject(mask);
  EXPECT_EQ(RegionFromMask(nullptr, k), nullptr);
}

class SkinButtonWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override { DestroyWindow(parent_); }
  SIZE SizeOf(const CSkinButton& b) {
    RECT r{};
    GetWindowRect(b.hwnd(), &r);
    return {r.right - r.left, r.bottom - r.top};
  }
  HWND parent_ = nullptr;
};

TEST_F(SkinButtonWin32, MaskSizesTheButtonOnlyInDrawModeZero) {
  std::vector<std::vector<COLORREF>> rows(20, std::vector<COLORREF>(30, RGB(0, 0, 0)));
  CSkinButton normal, stretched;
  ASSERT_TRUE(normal.Create("", WS_CHILD | WS_VISIBLE, {0, 0, 50, 40}, parent_, 200));
  ASSERT_TRUE(stretched.Create("", WS_CHILD | WS_VISIBLE, {0, 50, 50, 90}, parent_, 201));
  normal.SetImages(nullptr, nullptr, nullptr, nullptr, nullptr, MaskBitmap(rows), 0, 0, 0);
  stretched.SetImages(nullptr, nullptr, nullptr, nullptr, nullptr, MaskBitmap(rows), 1, 0, 0);
  EXPECT_EQ(SizeOf(normal).cx, 30);
  EXPECT_EQ(SizeOf(normal).cy, 20);
  EXPECT_EQ(SizeOf(stretched).cx, 50);
  EXPECT_EQ(SizeOf(stretched).cy, 40);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(normal.hwnd(), region), ERROR);  // the mask shapes the window
  DeleteObject(region);
}

TEST_F(SkinButtonWin32, SettingsAreClampedAndTheButtonIsOwnerDrawn) {
  CSkinButton b;
  ASSERT_TRUE(b.Create("OK", WS_CHILD | WS_VISIBLE, {0, 0, 40, 20}, parent_, 203));
  EXPECT_EQ(GetWindowLongA(b.hwnd(), GWL_STYLE) & 0xF, BS_OWNERDRAW);
  EXPECT_EQ(b.kind(), ButtonKind::kPush);
  b.SetImages(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 7, 1, -5);
  EXPECT_EQ(b.drawMode(), DrawMode::kTile);
  EXPECT_EQ(b.focusMargin(), 0);
  EXPECT_TRUE(b.border());
  b.SetImages(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, -3, 0, 4);
  EXPECT_EQ(b.drawMode(), DrawMode::kNormal);
  EXPECT_EQ(b.focusMargin(), 4);
  EXPECT_EQ(b.SetCaptionColor(RGB(1, 2, 3)), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(b.SetCaptionColor(RGB(4, 5, 6)), RGB(1, 2, 3));
  b.SetLinkUrl("http://h/?a=1;b=2");
  EXPECT_EQ(b.linkUrl(), "http://h/?a=1&b=2");
  EXPECT_EQ(b.tooltip(), nullptr);
  b.SetTipText("tip");
  const HWND tip = b.tooltip();
  EXPECT_NE(tip, nullptr);
  b.SetTipText("other");
  EXPECT_EQ(b.tooltip(), tip);  // the text changes, the tooltip stays
}

TEST_F(SkinButtonWin32, FacesGivenTwiceAreOwnedOnce) {
  // The same bitmap as normal and disabled face, and again in a second SetImages: deleting it
  // twice would fail the second time, and a deleted face would not be a bitmap any more.
  SkinPixels p;
  p.Create(4, 4, 32);
  HBITMAP face = CreateBitmapFromPixels(p);
  {
    CSkinButton b;
    ASSERT_TRUE(b.Create("", WS_CHILD, {0, 0, 4, 4}, parent_, 200));
    b.SetImages(face, nullptr, nullptr, face, nullptr, nullptr, 0, 0, 0);
    b.SetImages(face, face, nullptr, nullptr, nullptr, nullptr, 0, 0, 0);
    BITMAP bm{};
    EXPECT_NE(GetObjectA(face, sizeof bm, &bm), 0);
  }
  BITMAP bm{};
  EXPECT_EQ(GetObjectA(face, sizeof bm, &bm), 0);  // deleted with the button
}

}  // namespace
}  // namespace mc::win32
