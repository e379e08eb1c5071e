// The launcher background on Linux: the package PNG decoded into a premultiplied cairo surface,
// keeping its alpha for the translucent window, and into an opaque one of the picture's own
// (straight) colours for a screen that cannot blend.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/app_host.h"

namespace mc::gtk {

class CairoBackground : public BackgroundImage {
 public:
  // Takes both surfaces (either may be null).
  explicit CairoBackground(cairo_surface_t* surface, cairo_surface_t* solid = nullptr)
      : surface_(surface), solid_(solid) {}
  ~CairoBackground() override;
  CairoBackground(const CairoBackground&) = delete;
  CairoBackground& operator=(const CairoBackground&) = delete;
  // nullptr when the bytes did not decode: the window then draws no picture.
  cairo_surface_t* surface() const { return surface_; }
  // The same pixels in their straight colours with no alpha (RGB24); null when the bytes did
  // not decode.
  cairo_surface_t* solid() const { return solid_; }

 private:
  cairo_surface_t* surface_;
  cairo_surface_t* solid_;
};

std::unique_ptr<CairoBackground> DecodeBackgroundPng(const std::vector<uint8_t>& png);

}  // namespace mc::gtk
