// Windows entry point: the start-up sequence runs the program's windows, then the exit hook.
#include "platform/win32/win32_app_host.h"

#include "app/launcher_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  mc::win32::Win32AppHost host;
  mc::LauncherApp app(host);
  app.InitInstance();
  return host.ExitInstance();
}
