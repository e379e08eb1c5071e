// The game window's tray icon on X11 desktops with a system tray (XEmbed): a GtkStatusIcon with
// the tooltip and the mouse messages the Windows icon reports. Presses are taken by the icon
// itself and reported on release, so a left click shows the window when the button comes up
// and a right click opens the menu then, as the Windows icon does. A tray that goes away while
// holding the icon, or that has not taken it a while after it was offered, reports it lost.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include "game/gtk/tray_events.h"
#include "platform/gtk/gobject_ptr.h"

namespace mc::gtk {

class XEmbedTrayIcon {
 public:
  XEmbedTrayIcon() = default;
  ~XEmbedTrayIcon();
  XEmbedTrayIcon(const XEmbedTrayIcon&) = delete;
  XEmbedTrayIcon& operator=(const XEmbedTrayIcon&) = delete;

  // Whether the X display has a system tray to hold the icon.
  static bool TrayAvailable();

  // Shows the icon with a UTF-8 tooltip, or keeps the one shown. False, showing nothing, when
  // there is no system tray.
  bool Show(GdkPixbuf* icon, const std::string& tip, TrayEvents events);
  // Removes the icon. Not to be called from inside the icon's own event handling.
  void Remove();
  bool shown() const { return icon_.get() != nullptr; }

 private:
  static gboolean OnPress(GtkStatusIcon*, GdkEventButton* event, gpointer self);
  static gboolean OnRelease(GtkStatusIcon*, GdkEventButton* event, gpointer self);
  static void OnActivate(GtkStatusIcon*, gpointer self);
  static void OnPopupMenu(GtkStatusIcon*, guint, guint, gpointer self);
  static void OnEmbedded(GtkStatusIcon*, GParamSpec*, gpointer self);
  static gboolean OnEmbedWaitOver(gpointer self);
  void Report(unsigned mouseMessage);
  void Lost();

  GObjectPtr<GtkStatusIcon> icon_;
  TrayEvents events_;
  bool embedded_ = false;  // the tray has taken the icon
  guint embedWait_ = 0;    // until the tray must have taken it
};

}  // namespace mc::gtk
