// The launcher background on Windows: the package PNG decoded by GDI+ into an image that keeps
// its alpha channel, composited onto the translucent window's surface.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/app_host.h"

namespace mc::win32 {

class GdiplusBackground : public BackgroundImage {
 public:
  explicit GdiplusBackground(Gdiplus::Image* image) : image_(image) {}
  ~GdiplusBackground() override { delete image_; }
  GdiplusBackground(const GdiplusBackground&) = delete;
  GdiplusBackground& operator=(const GdiplusBackground&) = delete;
  // Never null; an image that failed to decode answers its size queries with 0.
  Gdiplus::Image* image() const { return image_; }
  int width() const { return static_cast<int>(image_->GetWidth()); }
  int height() const { return static_cast<int>(image_->GetHeight()); }

 private:
  Gdiplus::Image* image_;
};

// Undecodable bytes still give an image (in an error state, size 0); nullptr only when the
// bytes could not be handed to the decoder at all. GDI+ must have been started.
std::unique_ptr<GdiplusBackground> DecodeBackgroundGdiplus(const std::vector<uint8_t>& png);

}  // namespace mc::win32
