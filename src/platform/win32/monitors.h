// Monitors and their work areas. Windows on a second monitor stay there: every placement asks
// for the monitor that holds the window (or the pointer), never the primary monitor alone.
#pragma once

#include <windows.h>

namespace mc::win32 {

// A monitor's whole rectangle and its work area (the part the taskbar leaves free).
struct MonitorRects {
  RECT monitor{};
  RECT work{};
};

// The monitor holding the window (the nearest one when it lies on none; for a minimised
// window, where it was before). The primary screen when no monitor can be read.
MonitorRects MonitorOfWindow(HWND window);

// The monitor holding the pointer, or the nearest one.
MonitorRects MonitorOfCursor();

}  // namespace mc::win32
