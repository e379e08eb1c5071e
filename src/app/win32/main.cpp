// Windows entry point: the start-up sequence runs the program's windows, then the exit hook.
#include "app/win32/port_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  mc::win32::Win32AppHost host;
  mc::LauncherApp app(host, host);
  app.InitInstance();
  return host.ExitInstance();
}
