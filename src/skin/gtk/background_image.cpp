#include "skin/gtk/background_image.h"

#include <png.h>

#include <cstring>

#include "skin/skin_pixels.h"

namespace mc::gtk {

CairoBackground::~CairoBackground() {
  if (surface_) cairo_surface_destroy(surface_);
  if (solid_) cairo_surface_destroy(solid_);
}

std::unique_ptr<CairoBackground> DecodeBackgroundPng(const std::vector<uint8_t>& png) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
    return std::make_unique<CairoBackground>(nullptr);
  image.format = PNG_FORMAT_BGRA;
  // The skin size limit: a header of a few bytes can claim gigabytes of pixels.
  if (image.width > kMaxSkinSide || image.height > kMaxSkinSide ||
      !SkinSizeAcceptable(static_cast<int>(image.width), static_cast<int>(image.height))) {
    png_image_free(&image);
    return std::make_unique<CairoBackground>(nullptr);
  }
  cairo_surface_t* surface = cairo_image_surface_create(
      CAIRO_FORMAT_ARGB32, static_cast<int>(image.width), static_cast<int>(image.height));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    png_image_free(&image);
    return std::make_unique<CairoBackground>(nullptr);
  }
  cairo_surface_flush(surface);
  unsigned char* pixels = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  if (!png_image_finish_read(&image, nullptr, pixels, stride, nullptr)) {
    cairo_surface_destroy(surface);
    return std::make_unique<CairoBackground>(nullptr);
  }
  // The straight colours, before premultiplying: RGB24 has the same layout and ignores the
  // alpha byte. A picture too large for a second copy still shows where a compositor runs.
  cairo_surface_t* solid = cairo_image_surface_create(
      CAIRO_FORMAT_RGB24, static_cast<int>(image.width), static_cast<int>(image.height));
  if (cairo_surface_status(solid) == CAIRO_STATUS_SUCCESS &&
      cairo_image_surface_get_stride(solid) == stride) {
    cairo_surface_flush(solid);
    std::memcpy(cairo_image_surface_get_data(solid), pixels,
                static_cast<size_t>(stride) * image.height);
    cairo_surface_mark_dirty(solid);
  } else {
    cairo_surface_destroy(solid);
    solid = nullptr;
  }
  // cairo wants premultiplied alpha; the PNG holds straight alpha.
  for (uint32_t y = 0; y < image.height; ++y) {
    unsigned char* p = pixels + static_cast<size_t>(y) * static_cast<size_t>(stride);
    for (uint32_t x = 0; x < image.width; ++x, p += 4) {
      const unsigned a = p[3];
      if (a == 255) continue;
      for (int c = 0; c < 3; ++c) p[c] = static_cast<unsigned char>((p[c] * a + 127) / 255);
    }
  }
  cairo_surface_mark_dirty(surface);
  return std::make_unique<CairoBackground>(surface, solid);
}

}  // namespace mc::gtk
