// The game window's own painting on Linux: the border and title band copied from the edge
// pieces, and the title text. The pieces are kept as opaque cairo surfaces and copied with
// nearest-neighbour stretching and the SOURCE operator, so they show exactly their stored
// colours, as plain bitmap copies do on Windows: no smoothing, no alpha blending.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <array>
#include <string>

#include "game/title_paint.h"
#include "platform/gtk/cairo_handles.h"
#include "platform/gtk/gobject_ptr.h"
#include "skin/skin_pixels.h"

namespace mc::gtk {

class GameFramePainter {
 public:
  // Keeps the piece's pixels as a surface; false when no surface could be made.
  bool SetPiece(EdgePiece piece, const SkinPixels& pixels);
  bool HasPiece(EdgePiece piece) const { return Piece(piece) != nullptr; }

  // Paints the plan's edge copies and title. `text` is the context the title is laid out in
  // (the window's font at the skin's resolution).
  void Paint(cairo_t* cr, const GamePaintPlan& plan, PangoContext* text);

 private:
  cairo_surface_t* Piece(EdgePiece piece) const {
    return pieces_[static_cast<size_t>(piece) - 1].get();
  }
  void PaintTitle(cairo_t* cr, const TitlePaint& title, PangoContext* text);

  std::array<CairoSurfacePtr, 8> pieces_;
  // The title as last laid out, redone only when the text or the context changes.
  std::string titleGbk_;
  PangoContext* titleContext_ = nullptr;
  GObjectPtr<PangoLayout> titleLayout_;
};

}  // namespace mc::gtk
