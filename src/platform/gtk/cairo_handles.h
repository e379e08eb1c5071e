// Owners for cairo objects.
#pragma once

#include <cairo.h>

#include <memory>

namespace mc::gtk {

struct CairoSurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoRegionDeleter {
  void operator()(cairo_region_t* r) const { cairo_region_destroy(r); }
};
struct CairoDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

using CairoSurfacePtr = std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter>;
using CairoRegionPtr = std::unique_ptr<cairo_region_t, CairoRegionDeleter>;
using CairoPtr = std::unique_ptr<cairo_t, CairoDeleter>;

}  // namespace mc::gtk
