#include "skin/gtk/skin_surface.h"

namespace mc::gtk {

CairoSurfacePtr OpaqueSurface(const SkinPixels& pixels) {
  CairoSurfacePtr surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels.width(), pixels.height()));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_surface_flush(surface.get());
  ToXrgb(pixels.rows(), pixels.colorTable(),
         reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface.get())),
         static_cast<size_t>(cairo_image_surface_get_stride(surface.get())) / 4);
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

}  // namespace mc::gtk
