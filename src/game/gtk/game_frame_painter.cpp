#include "game/gtk/game_frame_painter.h"

#include <pango/pangocairo.h>

#include "package/gtk/gbk_utf8.h"
#include "platform/gtk/colors.h"
#include "skin/gtk/skin_surface.h"

namespace mc::gtk {

bool GameFramePainter::SetPiece(EdgePiece piece, const SkinPixels& pixels) {
  CairoSurfacePtr& slot = pieces_[static_cast<size_t>(piece) - 1];
  slot = OpaqueSurface(pixels);
  return slot != nullptr;
}

void GameFramePainter::Paint(cairo_t* cr, const GamePaintPlan& plan, PangoContext* text) {
  if (plan.kind != GamePaintPlan::Kind::kFrame) return;
  for (const EdgeBlit& blit : plan.blits) {
    cairo_surface_t* piece = Piece(blit.edge);
    if (!piece || blit.piece.width <= 0 || blit.piece.height <= 0) continue;
    const SpriteCut& d = blit.dest;
    cairo_save(cr);
    cairo_rectangle(cr, d.x, d.y, d.width, d.height);
    cairo_clip(cr);
    cairo_translate(cr, d.x, d.y);
    cairo_scale(cr, static_cast<double>(d.width) / blit.piece.width,
                static_cast<double>(d.height) / blit.piece.height);
    cairo_set_source_surface(cr, piece, -blit.piece.x, -blit.piece.y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  if (plan.title && text) PaintTitle(cr, *plan.title, text);
}

void GameFramePainter::PaintTitle(cairo_t* cr, const TitlePaint& title, PangoContext* text) {
  if (title.text.empty()) return;
  if (!titleLayout_ || title.text != titleGbk_ || text != titleContext_) {
    PangoLayout* layout = pango_layout_new(text);
    const std::string utf8 = GbkToUtf8(title.text);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    // The desktop's interface font made bold, as the title font is the system's GUI font.
    PangoFontDescription* font =
        pango_font_description_copy(pango_context_get_font_description(text));
    pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    titleLayout_ = GObjectPtr<PangoLayout>::Adopt(layout);
    titleGbk_ = title.text;
    titleContext_ = text;
  }
  const uint32_t c = static_cast<uint32_t>(title.color);  // 0x00BBGGRR
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  SetSourceColorRef(cr, c);
  cairo_move_to(cr, title.position.x, title.position.y);
  pango_cairo_show_layout(cr, titleLayout_.get());
  cairo_restore(cr);
}

}  // namespace mc::gtk
