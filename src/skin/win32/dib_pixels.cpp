#include "skin/win32/dib_pixels.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/gdi_handles.h"
#include "skin/pixel_region.h"

namespace mc::win32 {
namespace {

// A BITMAPINFO with room for a full colour table.
struct DibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

}  // namespace

bool ReadBitmapPixels(HBITMAP bitmap, SkinPixels& out) {
  if (!bitmap) return false;
  DIBSECTION dib{};
  if (GetObjectA(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits) {
    const int width = dib.dsBm.bmWidth, height = dib.dsBm.bmHeight;
    if (!out.Create(width, height, dib.dsBm.bmBitsPixel)) return false;
    GdiFlush();  // drawing into the section may still be queued
    const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    const size_t stride = static_cast<size_t>(dib.dsBm.bmWidthBytes);
    const bool bottomUp = dib.dsBmih.biHeight > 0;
    for (int y = 0; y < height; ++y) {
      const size_t stored = static_cast<size_t>(bottomUp ? height - 1 - y : y);
      std::memcpy(out.Row(y), bits + stored * stride, std::min(stride, out.stride()));
    }
    if (out.bitsPerPixel() <= 8) {
      ScopedMemoryDC dc(nullptr);
      if (!dc) return false;
      ScopedSelectObject select(dc.get(), bitmap);
      RGBQUAD table[256];
      const UINT n = GetDIBColorTable(dc.get(), 0, static_cast<UINT>(out.colorTable().size()), table);
      for (UINT i = 0; i < n; ++i) std::memcpy(&out.colorTable()[i], &table[i], sizeof(RGBQUAD));
    }
    return true;
  }
  BITMAP plain{};
  if (!GetObjectA(bitmap, sizeof plain, &plain)) return false;
  if (!out.Create(plain.bmWidth, plain.bmHeight, 32)) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = plain.bmWidth;
  info.bmiHeader.biHeight = plain.bmHeight;  // bottom-up, as SkinPixels stores rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ScopedWindowDC screen(nullptr);
  return GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(plain.bmHeight),
                   out.bits().data(), &info, DIB_RGB_COLORS) == plain.bmHeight;
}

HBITMAP CreateBitmapFromPixels(const SkinPixels& pixels) {
  if (pixels.width() <= 0 || pixels.height() <= 0) return nullptr;
  DibInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = pixels.width();
  info.header.biHeight = pixels.height();
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(pixels.bitsPerPixel());
  info.header.biCompression = BI_RGB;
  info.header.biSizeImage = static_cast<DWORD>(pixels.bits().size());
  const size_t entries = std::min<size_t>(pixels.colorTable().size(), 256);
  for (size_t i = 0; i < entries; ++i)
    std::memcpy(&info.colors[i], &pixels.colorTable()[i], sizeof(RGBQUAD));
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  std::memcpy(bits, pixels.bits().data(), pixels.bits().size());
  return bitmap;
}

HBITMAP CutBitmap(HBITMAP source, int x, int y, int width, int height) {
  SkinPixels from, piece;
  if (!ReadBitmapPixels(source, from)) return nullptr;
  if (!CutPixels(from, x, y, width, height, piece)) return nullptr;
  return CreateBitmapFromPixels(piece);
}

HRGN RegionFromMask(HBITMAP mask, COLORREF key) {
  if (!mask) return nullptr;
  ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
  SkinPixels pixels;
  if (!region || !ReadBitmapPixels(mask, pixels)) return region.release();
  for (const PixelRect& r : mc::RegionFromMask(pixels.rows(), pixels.colorTable(), key)) {
    ScopedRegion run(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    if (run) CombineRgn(region.get(), region.get(), run.get(), RGN_OR);
  }
  return region.release();
}

}  // namespace mc::win32
