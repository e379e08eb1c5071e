// Test helper run under the same wineserver as the client: waits for a top-level window of a
// class that has its title or is shown, prints its title as UTF-8, and closes it when asked.
// Usage: window_probe.exe CLASS [close|keep] [timeout-ms]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2) return 64;
  const bool close = argc < 3 || std::strcmp(argv[2], "close") == 0;
  const DWORD timeout = argc > 3 ? static_cast<DWORD>(std::atoi(argv[3])) : 20000;
  const DWORD start = GetTickCount();
  HWND window = nullptr;
  while (!(window = FindWindowA(argv[1], nullptr))) {
    if (GetTickCount() - start > timeout) {
      std::printf("no window\n");
      return 2;
    }
    Sleep(50);
  }
  // A window is found as soon as it exists, before it is given its title; wait until it has
  // one or is shown.
  while (GetWindowTextLengthW(window) == 0 && !IsWindowVisible(window) &&
         GetTickCount() - start <= timeout)
    Sleep(20);
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 511);
  char utf8[2048] = {};
  WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
  std::printf("%s\n", utf8);
  std::fflush(stdout);
  if (close) PostMessageA(window, WM_CLOSE, 0, 0);
  return 0;
}
