// GtkStatusIcon is deprecated in GTK 3 but remains the tray icon of X11 desktops (the XEmbed
// system tray), which is what the Linux port targets; its warnings are silenced here only.
#define GDK_DISABLE_DEPRECATION_WARNINGS
#include "game/gtk/game_tray_icon.h"

#include <gdk/gdkx.h>

#include <string>

#include "game/tray_icon.h"
#include "package/gtk/gbk_utf8.h"

namespace mc::gtk {
namespace {

// The Windows mouse messages of the button presses, which the icon's owner ignores.
constexpr unsigned kLeftButtonDown = 0x0201;
constexpr unsigned kRightButtonDown = 0x0204;

}  // namespace

GameTrayIcon::~GameTrayIcon() { Remove(); }

bool GameTrayIcon::TrayAvailable() {
  GdkDisplay* display = gdk_display_get_default();
  if (!display || !GDK_IS_X11_DISPLAY(display)) return false;
  GdkScreen* screen = gdk_display_get_default_screen(display);
  const std::string selection =
      "_NET_SYSTEM_TRAY_S" + std::to_string(gdk_x11_screen_get_screen_number(screen));
  Display* x = GDK_DISPLAY_XDISPLAY(display);
  return XGetSelectionOwner(x, gdk_x11_get_xatom_by_name_for_display(display, selection.c_str())) !=
         None;
}

bool GameTrayIcon::Show(GdkPixbuf* icon, const std::string& gbkTip, Notify notify) {
  if (!TrayAvailable()) return false;
  notify_ = std::move(notify);
  if (!icon_) {
    icon_ = GObjectPtr<GtkStatusIcon>::Adopt(
        icon ? gtk_status_icon_new_from_pixbuf(icon)
             : gtk_status_icon_new_from_icon_name("application-x-executable"));
    GtkStatusIcon* s = icon_.get();
    g_signal_connect(s, "button-press-event", G_CALLBACK(OnPress), this);
    g_signal_connect(s, "button-release-event", G_CALLBACK(OnRelease), this);
    g_signal_connect(s, "activate", G_CALLBACK(OnActivate), this);
    g_signal_connect(s, "popup-menu", G_CALLBACK(OnPopupMenu), this);
  }
  gtk_status_icon_set_tooltip_text(icon_.get(), GbkToUtf8(gbkTip).c_str());
  gtk_status_icon_set_title(icon_.get(), GbkToUtf8(gbkTip).c_str());
  gtk_status_icon_set_visible(icon_.get(), TRUE);
  return true;
}

void GameTrayIcon::Remove() {
  if (!icon_) return;
  g_signal_handlers_disconnect_by_data(icon_.get(), this);
  gtk_status_icon_set_visible(icon_.get(), FALSE);
  icon_.reset();
  notify_ = nullptr;
}

void GameTrayIcon::Report(unsigned mouseMessage) {
  if (notify_) notify_(mouseMessage);
}

gboolean GameTrayIcon::OnPress(GtkStatusIcon*, GdkEventButton* event, gpointer self) {
  auto* tray = static_cast<GameTrayIcon*>(self);
  if (event->type == GDK_2BUTTON_PRESS && event->button == 1) {
    tray->Report(kTrayLeftDoubleClick);
  } else if (event->type == GDK_BUTTON_PRESS && (event->button == 1 || event->button == 3)) {
    tray->Report(event->button == 1 ? kLeftButtonDown : kRightButtonDown);
  }
  return TRUE;  // no activate or popup-menu on the press: the release decides
}

gboolean GameTrayIcon::OnRelease(GtkStatusIcon*, GdkEventButton* event, gpointer self) {
  auto* tray = static_cast<GameTrayIcon*>(self);
  if (event->button == 1) tray->Report(kTrayLeftButtonUp);
  if (event->button == 3) tray->Report(kTrayRightButtonUp);
  return TRUE;
}

// Activation without the mouse (keyboard, accessibility) stands for a left click, the menu
// key for a right click.
void GameTrayIcon::OnActivate(GtkStatusIcon*, gpointer self) {
  static_cast<GameTrayIcon*>(self)->Report(kTrayLeftButtonUp);
}

void GameTrayIcon::OnPopupMenu(GtkStatusIcon*, guint, guint, gpointer self) {
  static_cast<GameTrayIcon*>(self)->Report(kTrayRightButtonUp);
}

}  // namespace mc::gtk
