// What the desktop lets a program do with its windows, and its monitors.
//
// Three desktops differ here. On X11 without a window manager (a bare X server) nothing moves,
// sizes or maximises a window but the program itself. Under an EWMH window manager the
// program may still place its windows, but maximised and full-screen are the manager's
// states (panels stay below a full-screen window only when the manager knows it is one), and
// moves and sizes by the pointer are best left to the manager, which keeps its own rules
// about work-area edges. Under Wayland the compositor places every window: a client cannot
// learn or set its position (its root window is 0 x 0 and there may be no primary monitor),
// it can only ask for sizes, states and pointer moves.
#pragma once

#include <gtk/gtk.h>

#include <vector>

namespace mc::gtk {

enum class DesktopKind { kBareX11, kX11WindowManager, kWayland };

// Looked up at each call: a window manager may start or end while the program runs.
DesktopKind DesktopKindOf(GdkDisplay* display);

// A monitor's whole rectangle and its work area (the part panels leave free), in screen
// coordinates (under Wayland, the compositor's logical layout).
struct MonitorArea {
  GdkRectangle geometry{0, 0, 0, 0};
  GdkRectangle workArea{0, 0, 0, 0};
};

MonitorArea AreaOf(GdkMonitor* monitor);

// Every monitor, in GDK's order; empty when the display reports none.
std::vector<MonitorArea> Monitors(GdkDisplay* display);

// The monitor a window opens on before it has a place: the one under the pointer where the
// pointer has a screen position (X11), else the first one; nullptr when there is none. No
// root window or primary monitor is assumed.
GdkMonitor* MonitorForNewWindow(GdkDisplay* display);

// Tells the compositor who draws the frame of a toplevel: the program (own = true, for its
// undecorated windows) or the compositor. GTK says so only for windows with a GTK title bar,
// and a Wayland compositor that decorates by default (KWin, sway) would otherwise put its own
// title bar above the program's. Applies when the window is realized (at once if it is);
// nothing happens outside Wayland or where the compositor has no such protocol.
void AnnounceFrame(GtkWidget* window, bool own);

}  // namespace mc::gtk
