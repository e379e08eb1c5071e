// The game window's notification-area icon on Linux, wherever the desktop keeps one: a
// StatusNotifierItem where a watcher is on the session bus (KDE, GNOME with the AppIndicator
// extension, most Wayland panels), else an XEmbed tray icon where the X display has a system
// tray. With neither there is no icon, and the window is minimised instead of hidden.
#pragma once

#include <gtk/gtk.h>

#include "game/gtk/status_notifier_item.h"
#include "game/gtk/tray_events.h"
#include "game/gtk/xembed_tray_icon.h"
#include "game/tray_icon.h"

namespace mc::gtk {

class GameTrayIcon {
 public:
  // Shows the icon, or keeps the one shown. False, showing nothing, when the desktop has no
  // notification area.
  bool Show(GdkPixbuf* icon, const TrayIconSetup& setup, TrayEvents events);
  // Removes the icon. Not to be called from inside the icon's own event handling.
  void Remove();
  bool shown() const { return item_.shown() || xembed_.shown(); }

 private:
  StatusNotifierItem item_;
  XEmbedTrayIcon xembed_;
};

}  // namespace mc::gtk
