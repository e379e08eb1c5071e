#include "skin/win32/gdiplus_background.h"

#include <cstring>

namespace mc::win32 {

std::unique_ptr<GdiplusBackground> DecodeBackgroundGdiplus(const std::vector<uint8_t>& png) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, png.size());
  if (!block) return nullptr;
  if (void* p = GlobalLock(block)) {
    if (!png.empty()) std::memcpy(p, png.data(), png.size());
    GlobalUnlock(block);
  }
  IStream* stream = nullptr;
  // The stream frees the block when its last reference goes (the image keeps one).
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return nullptr;
  }
  auto* image = new Gdiplus::Image(stream);
  stream->Release();
  return std::make_unique<GdiplusBackground>(image);
}

}  // namespace mc::win32
