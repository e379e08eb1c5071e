// Colours as the configuration and the Windows port give them, set as cairo sources.
#pragma once

#include <cairo.h>

#include <cstdint>

namespace mc::gtk {

// A Windows COLORREF (0x00BBGGRR) as 0xRRGGBB.
constexpr uint32_t ColorRefToRgb(uint32_t colorRef) {
  return ((colorRef & 0xFF) << 16) | (colorRef & 0xFF00) | ((colorRef >> 16) & 0xFF);
}

// 0xRRGGBB.
inline void SetSourceRgb(cairo_t* cr, uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                       (rgb & 0xFF) / 255.0);
}

inline void SetSourceColorRef(cairo_t* cr, uint32_t colorRef) {
  SetSourceRgb(cr, ColorRefToRgb(colorRef));
}

}  // namespace mc::gtk
