// Skin bitmaps as cairo surfaces: skin pictures show their stored colours, never blended.
#pragma once

#include "platform/gtk/cairo_handles.h"
#include "skin/skin_pixels.h"

namespace mc::gtk {

// The skin bitmap as an opaque surface of its own size; null when cairo cannot make it.
CairoSurfacePtr OpaqueSurface(const SkinPixels& pixels);

}  // namespace mc::gtk
