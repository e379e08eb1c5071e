// The launcher background on Linux: the package PNG decoded into a premultiplied cairo surface,
// keeping its alpha for the translucent window.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/app_host.h"

namespace mc::gtk {

class CairoBackground : public BackgroundImage {
 public:
  explicit CairoBackground(cairo_surface_t* surface) : surface_(surface) {}
  ~CairoBackground() override;
  CairoBackground(const CairoBackground&) = delete;
  CairoBackground& operator=(const CairoBackground&) = delete;
  // nullptr when the bytes did not decode: the window then draws no picture.
  cairo_surface_t* surface() const { return surface_; }

 private:
  cairo_surface_t* surface_;
};

std::unique_ptr<CairoBackground> DecodeBackgroundPng(const std::vector<uint8_t>& png);

}  // namespace mc::gtk
