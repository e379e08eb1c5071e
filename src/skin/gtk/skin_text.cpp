#include "skin/gtk/skin_text.h"

#include <pango/pangocairo.h>

#include "base/text_resolution.h"

namespace mc::gtk {
namespace {

bool SameOptions(const cairo_font_options_t* a, const cairo_font_options_t* b) {
  if (!a || !b) return a == b;
  return cairo_font_options_equal(a, b);
}

}  // namespace

PangoContext* SkinTextContext::For(GtkWidget* widget) {
  PangoContext* source = gtk_widget_get_pango_context(widget);
  const PangoFontDescription* font = pango_context_get_font_description(source);
  const cairo_font_options_t* options = pango_cairo_context_get_font_options(source);
  if (context_ &&
      pango_font_description_equal(font, pango_context_get_font_description(context_.get())) &&
      SameOptions(options, pango_cairo_context_get_font_options(context_.get())))
    return context_.get();
  PangoContext* made = pango_font_map_create_context(pango_context_get_font_map(source));
  pango_context_set_font_description(made, font);
  pango_context_set_language(made, pango_context_get_language(source));
  pango_context_set_base_dir(made, pango_context_get_base_dir(source));
  pango_cairo_context_set_font_options(made, options);
  pango_cairo_context_set_resolution(made, kSkinTextDpi);
  context_ = GObjectPtr<PangoContext>::Adopt(made);
  return made;
}

}  // namespace mc::gtk
