// Test helper run under the same wineserver as the client: sends the launcher's control layer
// the command a click on its button with this control id sends (posted, so a question it opens
// does not block this helper).
// Usage: launcher_command.exe ID [timeout-ms]
//        launcher_command.exe key VK...   posts the keys' WM_KEYDOWN/WM_KEYUP, one after the
//                                         other, to the innermost window of the first html
//                                         area, where a click in the page would put the focus
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int PostKeys(int count, char** keys) {
  HWND layer = nullptr, area = nullptr;
  for (int i = 0; i < 200 && !area; ++i) {
    if ((layer = FindWindowA("MicroClientLauncherLayer", nullptr)))
      area = FindWindowExA(layer, nullptr, "MicroClientBrowser", nullptr);
    if (!area) Sleep(50);
  }
  if (!area) {
    std::printf("no area\n");
    return 2;
  }
  while (HWND child = GetWindow(area, GW_CHILD)) area = child;
  for (int i = 0; i < count; ++i) {
    const WPARAM key = static_cast<WPARAM>(std::strtol(keys[i], nullptr, 0));
    const UINT scan = MapVirtualKeyA(static_cast<UINT>(key), 0);
    PostMessageA(area, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageA(area, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
  }
  std::printf("posted\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 64;
  if (std::strcmp(argv[1], "key") == 0) return PostKeys(argc - 2, argv + 2);
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
