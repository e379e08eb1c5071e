// GtkStatusIcon is deprecated in GTK 3 but remains the way to an XEmbed system tray of X11
// desktops; its warnings are silenced here only.
#define GDK_DISABLE_DEPRECATION_WARNINGS
#include "game/gtk/xembed_tray_icon.h"

#include <gdk/gdkx.h>

#include <string>

#include "game/tray_icon.h"
#include "platform/gtk/callback_guard.h"

namespace mc::gtk {
namespace {

// The Windows mouse messages of the button presses, which the icon's owner ignores.
constexpr unsigned kLeftButtonDown = 0x0201;
constexpr unsigned kRightButtonDown = 0x0204;
// How long a system tray may take to embed an offered icon.
constexpr guint kEmbedWaitMs = 3000;

}  // namespace

XEmbedTrayIcon::~XEmbedTrayIcon() { Remove(); }

bool XEmbedTrayIcon::TrayAvailable() {
  GdkDisplay* display = gdk_display_get_default();
  if (!display || !GDK_IS_X11_DISPLAY(display)) return false;
  GdkScreen* screen = gdk_display_get_default_screen(display);
  const std::string selection =
      "_NET_SYSTEM_TRAY_S" + std::to_string(gdk_x11_screen_get_screen_number(screen));
  Display* x = GDK_DISPLAY_XDISPLAY(display);
  return XGetSelectionOwner(x, gdk_x11_get_xatom_by_name_for_display(display, selection.c_str())) !=
         None;
}

bool XEmbedTrayIcon::Show(GdkPixbuf* icon, const std::string& tip, TrayEvents events) {
  if (!TrayAvailable()) return false;
  events_ = std::move(events);
  if (!icon_) {
    icon_ = GObjectPtr<GtkStatusIcon>::Adopt(
        icon ? gtk_status_icon_new_from_pixbuf(icon)
             : gtk_status_icon_new_from_icon_name("application-x-executable"));
    GtkStatusIcon* s = icon_.get();
    g_signal_connect(s, "button-press-event", G_CALLBACK(OnPress), this);
    g_signal_connect(s, "button-release-event", G_CALLBACK(OnRelease), this);
    g_signal_connect(s, "activate", G_CALLBACK(OnActivate), this);
    g_signal_connect(s, "popup-menu", G_CALLBACK(OnPopupMenu), this);
    g_signal_connect(s, "notify::embedded", G_CALLBACK(OnEmbedded), this);
    embedded_ = false;
  }
  gtk_status_icon_set_tooltip_text(icon_.get(), tip.c_str());
  gtk_status_icon_set_title(icon_.get(), tip.c_str());
  gtk_status_icon_set_visible(icon_.get(), TRUE);
  // A tray takes an icon within moments; one that never does (its owner hangs, or owns the
  // selection without being a tray) would leave the window hidden with nothing to click.
  if (!embedded_ && !embedWait_)
    embedWait_ = g_timeout_add(kEmbedWaitMs, OnEmbedWaitOver, this);
  return true;
}

void XEmbedTrayIcon::Remove() {
  if (embedWait_) g_source_remove(embedWait_);
  embedWait_ = 0;
  if (!icon_) return;
  g_signal_handlers_disconnect_by_data(icon_.get(), this);
  gtk_status_icon_set_visible(icon_.get(), FALSE);
  icon_.reset();
  events_ = {};
}

void XEmbedTrayIcon::Report(unsigned mouseMessage) {
  if (events_.mouse) events_.mouse(mouseMessage);
}

// The tray took the icon, or let it go (the tray ended): a lost icon can no longer bring the
// window back.
void XEmbedTrayIcon::OnEmbedded(GtkStatusIcon* icon, GParamSpec*, gpointer self) {
  auto* tray = static_cast<XEmbedTrayIcon*>(self);
  const bool embedded = gtk_status_icon_is_embedded(icon);
  const bool lost = tray->embedded_ && !embedded;
  tray->embedded_ = embedded;
  if (lost) tray->Lost();
}

gboolean XEmbedTrayIcon::OnEmbedWaitOver(gpointer self) {
  auto* tray = static_cast<XEmbedTrayIcon*>(self);
  tray->embedWait_ = 0;
  if (!tray->embedded_) tray->Lost();
  return G_SOURCE_REMOVE;
}

void XEmbedTrayIcon::Lost() {
  if (events_.lost) Guarded([&] { events_.lost(); });
}

gboolean XEmbedTrayIcon::OnPress(GtkStatusIcon*, GdkEventButton* event, gpointer self) {
  auto* tray = static_cast<XEmbedTrayIcon*>(self);
  if (event->type == GDK_2BUTTON_PRESS && event->button == 1) {
    tray->Report(kTrayLeftDoubleClick);
  } else if (event->type == GDK_BUTTON_PRESS && (event->button == 1 || event->button == 3)) {
    tray->Report(event->button == 1 ? kLeftButtonDown : kRightButtonDown);
  }
  return TRUE;  // no activate or popup-menu on the press: the release decides
}

gboolean XEmbedTrayIcon::OnRelease(GtkStatusIcon*, GdkEventButton* event, gpointer self) {
  auto* tray = static_cast<XEmbedTrayIcon*>(self);
  if (event->button == 1) tray->Report(kTrayLeftButtonUp);
  if (event->button == 3) tray->Report(kTrayRightButtonUp);
  return TRUE;
}

// Activation without the mouse (keyboard, accessibility) stands for a left click, the menu
// key for a right click.
void XEmbedTrayIcon::OnActivate(GtkStatusIcon*, gpointer self) {
  static_cast<XEmbedTrayIcon*>(self)->Report(kTrayLeftButtonUp);
}

void XEmbedTrayIcon::OnPopupMenu(GtkStatusIcon*, guint, guint, gpointer self) {
  static_cast<XEmbedTrayIcon*>(self)->Report(kTrayRightButtonUp);
}

}  // namespace mc::gtk
