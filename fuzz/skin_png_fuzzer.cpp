// PNG bytes of any shape through the Linux decoder into a skin bitmap and on through the
// bitmap rules: a picture either decodes into a bitmap of an acceptable size whose rows,
// stride and colour table agree, or is refused; cutting, the XRGB copy and the region rules
// stay inside the bitmap and account for every pixel.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "skin/gtk/png_decoder.h"
#include "skin/pixel_region.h"
#include "skin/skin_pixels.h"

namespace {

int64_t Area(const std::vector<mc::PixelRect>& rects, int width, int height) {
  int64_t area = 0;
  for (const mc::PixelRect& r : rects) {
    FUZZ_CHECK(r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height);
    FUZZ_CHECK(r.left < r.right && r.top < r.bottom);
    area += int64_t{r.right - r.left} * (r.bottom - r.top);
  }
  return area;
}

void CheckLayout(const mc::SkinPixels& skin) {
  FUZZ_CHECK(mc::SkinSizeAcceptable(skin.width(), skin.height()));
  const int bits = skin.bitsPerPixel();
  FUZZ_CHECK(bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32);
  FUZZ_CHECK(skin.stride() == mc::DibStride(skin.width(), bits));
  FUZZ_CHECK(skin.stride() % 4 == 0);
  FUZZ_CHECK(skin.bits().size() == skin.stride() * static_cast<size_t>(skin.height()));
  FUZZ_CHECK(skin.colorTable().size() == (bits <= 8 ? size_t{1} << bits : 0));
}

// A rectangle that reaches over the right and bottom edges, so a cut meets both the picture
// and the zero fill beyond it.
void CheckCut(const mc::SkinPixels& skin) {
  const int x = skin.width() / 3, y = skin.height() / 2;
  const int w = std::max(1, skin.width() - x + 2), h = std::max(1, skin.height() - y + 1);
  mc::SkinPixels piece;
  if (!mc::CutPixels(skin, x, y, w, h, piece)) {
    FUZZ_CHECK(!mc::SkinSizeAcceptable(w, h));
    return;
  }
  FUZZ_CHECK(piece.width() == w && piece.height() == h);
  FUZZ_CHECK(piece.bitsPerPixel() == skin.bitsPerPixel());
  FUZZ_CHECK(piece.colorTable() == skin.colorTable());
  const mc::PixelRows from = skin.rows(), to = piece.rows();
  for (int py : {0, h / 2, h - 1}) {
    for (int px : {0, w / 2, w - 1}) {
      const bool inside = x + px < skin.width() && y + py < skin.height();
      const uint32_t got = mc::PixelColorRef(to, piece.colorTable(), px, py);
      if (inside)
        FUZZ_CHECK(got == mc::PixelColorRef(from, skin.colorTable(), x + px, y + py));
      else if (skin.bitsPerPixel() > 8)
        FUZZ_CHECK(got == 0);
    }
  }
}

void CheckRegions(const mc::SkinPixels& skin) {
  const mc::PixelRows rows = skin.rows();
  const int w = skin.width(), h = skin.height();
  // Every pixel whose colour differs from the top-left one belongs to the mask's shape.
  const uint32_t key = mc::PixelColorRef(rows, skin.colorTable(), 0, 0);
  std::vector<uint32_t> xrgb(static_cast<size_t>(w) * h);
  mc::ToXrgb(rows, skin.colorTable(), xrgb.data(), static_cast<size_t>(w));
  int64_t differing = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t c = xrgb[static_cast<size_t>(y) * w + x];
      FUZZ_CHECK(c >> 24 == 0);
      // XRGB holds red high, the colour reference red low.
      const uint32_t ref = ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16);
      differing += ref != key;
    }
  }
  const std::vector<mc::PixelRect> shape = mc::RegionFromMask(rows, skin.colorTable(), key);
  for (const mc::PixelRect& r : shape) FUZZ_CHECK(r.bottom - r.top == 1);
  FUZZ_CHECK(Area(shape, w, h) == differing);

  if (skin.bitsPerPixel() != 32) return;
  int64_t visible = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) visible += rows.Row(y)[x * 4 + 3] != 0;
  FUZZ_CHECK(Area(mc::OpaqueRegion(rows), w, h) == visible);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mc::SkinPixels skin;
  if (!mc::gtk::DecodePngToSkin(data, size, skin)) {
    FUZZ_CHECK(skin.width() == 0 && skin.bits().empty());
    return 0;
  }
  CheckLayout(skin);
  // Pixels beyond this many only repeat the work: the shape checks visit every pixel.
  if (int64_t{skin.width()} * skin.height() > (int64_t{1} << 20)) return 0;
  CheckCut(skin);
  CheckRegions(skin);
  return 0;
}
