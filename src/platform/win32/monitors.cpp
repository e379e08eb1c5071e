#include "platform/win32/monitors.h"

namespace mc::win32 {
namespace {

MonitorRects RectsOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  MonitorRects rects;
  if (monitor && GetMonitorInfoA(monitor, &info)) {
    rects.monitor = info.rcMonitor;
    rects.work = info.rcWork;
    return rects;
  }
  rects.monitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &rects.work, 0)) rects.work = rects.monitor;
  return rects;
}

}  // namespace

MonitorRects MonitorOfWindow(HWND window) {
  return RectsOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

MonitorRects MonitorOfCursor() {
  POINT cursor{0, 0};  // the primary monitor's corner when the pointer cannot be read
  GetCursorPos(&cursor);
  return RectsOf(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST));
}

}  // namespace mc::win32
