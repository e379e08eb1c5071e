// Test helper run under the same wineserver as the client: sends the launcher's control layer
// the command a click on its button with this control id sends (posted, so a question it opens
// does not block this helper).
// Usage: launcher_command.exe ID [timeout-ms]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2) return 64;
  const int id = std::atoi(argv[1]);
  const DWORD timeout = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 20000;
  const DWORD start = GetTickCount();
  HWND button = nullptr;
  HWND layer = nullptr;
  while (!button) {
    if ((layer = FindWindowA("MicroClientLauncherLayer", nullptr))) button = GetDlgItem(layer, id);
    if (button) break;
    if (GetTickCount() - start > timeout) {
      std::printf("no button\n");
      return 2;
    }
    Sleep(50);
  }
  PostMessageA(layer, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
  std::printf("sent\n");
  return 0;
}
