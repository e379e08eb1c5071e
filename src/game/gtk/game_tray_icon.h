// The game window's notification-area icon on Linux: a GtkStatusIcon (the XEmbed tray of X11
// desktops) with the tooltip and the mouse messages the Windows icon reports. Presses are
// taken by the icon itself and reported on release, so a left click shows the window when the
// button comes up and a right click opens the menu then, as the Windows icon does.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "platform/gtk/gobject_ptr.h"

namespace mc::gtk {

class GameTrayIcon {
 public:
  // Called with the Windows mouse message the event stands for (button down and up, double
  // click), from inside the icon's own event handling.
  using Notify = std::function<void(unsigned mouseMessage)>;

  GameTrayIcon() = default;
  ~GameTrayIcon();
  GameTrayIcon(const GameTrayIcon&) = delete;
  GameTrayIcon& operator=(const GameTrayIcon&) = delete;

  // Whether the desktop has a notification area to hold the icon (an X11 tray manager).
  static bool TrayAvailable();

  // Shows the icon with a GBK tooltip, or keeps the one shown. False, showing nothing, when
  // there is no notification area.
  bool Show(GdkPixbuf* icon, const std::string& gbkTip, Notify notify);
  // Removes the icon. Not to be called from inside the icon's own event handling.
  void Remove();
  bool shown() const { return icon_.get() != nullptr; }

 private:
  static gboolean OnPress(GtkStatusIcon*, GdkEventButton* event, gpointer self);
  static gboolean OnRelease(GtkStatusIcon*, GdkEventButton* event, gpointer self);
  static void OnActivate(GtkStatusIcon*, gpointer self);
  static void OnPopupMenu(GtkStatusIcon*, guint, guint, gpointer self);
  void Report(unsigned mouseMessage);

  GObjectPtr<GtkStatusIcon> icon_;
  Notify notify_;
};

}  // namespace mc::gtk
