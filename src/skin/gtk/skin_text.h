// Text drawn on skins (button captions, the game window's title) at the skin's fixed
// resolution: the widget's own font and font options, laid out at 96 dpi whatever the screen's
// font resolution, so a desktop's larger text setting cannot push captions off their pictures.
#pragma once

#include <gtk/gtk.h>
#include <pango/pango.h>

#include "platform/gtk/gobject_ptr.h"

namespace mc::gtk {

class SkinTextContext {
 public:
  // The context to lay out `widget`'s text in. The same one while the widget's font and font
  // options stay as they are; a new one (another pointer) once they changed.
  PangoContext* For(GtkWidget* widget);

 private:
  GObjectPtr<PangoContext> context_;
};

}  // namespace mc::gtk
