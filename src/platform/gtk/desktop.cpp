#include "platform/gtk/desktop.h"

#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif
#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif

namespace mc::gtk {

DesktopKind DesktopKindOf(GdkDisplay* display) {
#ifdef GDK_WINDOWING_WAYLAND
  if (display && GDK_IS_WAYLAND_DISPLAY(display)) return DesktopKind::kWayland;
#endif
#ifdef GDK_WINDOWING_X11
  // The full-screen state is the one that matters most (panels), and every EWMH window
  // manager that offers it offers maximising too.
  if (display && GDK_IS_X11_DISPLAY(display) &&
      gdk_x11_screen_supports_net_wm_hint(gdk_display_get_default_screen(display),
                                          gdk_atom_intern_static_string("_NET_WM_STATE_FULLSCREEN")))
    return DesktopKind::kX11WindowManager;
#endif
  return DesktopKind::kBareX11;
}

MonitorArea AreaOf(GdkMonitor* monitor) {
  MonitorArea area;
  if (!monitor) return area;
  gdk_monitor_get_geometry(monitor, &area.geometry);
  gdk_monitor_get_workarea(monitor, &area.workArea);
  return area;
}

std::vector<MonitorArea> Monitors(GdkDisplay* display) {
  std::vector<MonitorArea> monitors;
  const int count = display ? gdk_display_get_n_monitors(display) : 0;
  for (int i = 0; i < count; ++i)
    if (GdkMonitor* monitor = gdk_display_get_monitor(display, i))
      monitors.push_back(AreaOf(monitor));
  return monitors;
}

GdkMonitor* MonitorForNewWindow(GdkDisplay* display) {
  if (!display || gdk_display_get_n_monitors(display) == 0) return nullptr;
  if (DesktopKindOf(display) != DesktopKind::kWayland) {
    // Under Wayland the pointer has no screen position, only one within a surface.
    GdkSeat* seat = gdk_display_get_default_seat(display);
    GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
    if (pointer) {
      gint x = 0, y = 0;
      gdk_device_get_position(pointer, nullptr, &x, &y);
      if (GdkMonitor* monitor = gdk_display_get_monitor_at_point(display, x, y)) return monitor;
    }
  }
  return gdk_display_get_monitor(display, 0);
}

namespace {

#ifdef GDK_WINDOWING_WAYLAND
void Announce(GtkWidget* window, bool own) {
  GdkWindow* surface = gtk_widget_get_window(window);
  if (!surface || !GDK_IS_WAYLAND_WINDOW(surface)) return;
  if (own)
    gdk_wayland_window_announce_csd(surface);
  else
    gdk_wayland_window_announce_ssd(surface);
}

void AnnounceOwnOnRealize(GtkWidget* window, gpointer) { Announce(window, true); }
void AnnounceSystemOnRealize(GtkWidget* window, gpointer) { Announce(window, false); }
#endif

}  // namespace

void AnnounceFrame(GtkWidget* window, bool own) {
#ifdef GDK_WINDOWING_WAYLAND
  if (!window) return;
  g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(AnnounceOwnOnRealize),
                                       nullptr);
  g_signal_handlers_disconnect_by_func(
      window, reinterpret_cast<gpointer>(AnnounceSystemOnRealize), nullptr);
  // After GTK's own realize handler, whose announcement (if any) this one replaces.
  g_signal_connect_after(window, "realize",
                         G_CALLBACK(own ? AnnounceOwnOnRealize : AnnounceSystemOnRealize),
                         nullptr);
  if (gtk_widget_get_realized(window)) Announce(window, own);
#else
  (void)window;
  (void)own;
#endif
}

}  // namespace mc::gtk
