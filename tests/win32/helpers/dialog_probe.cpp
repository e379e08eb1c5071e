// Test helper run under the same wineserver as the client: waits for a message box, prints
// its title and text as UTF-8 ("title|text"), and presses one of its buttons.
// Usage: dialog_probe.exe [ok|cancel] [timeout-ms]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
  char buffer[2048] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  return buffer;
}

struct Found {
  HWND dialog = nullptr;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lp) {
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
    reinterpret_cast<Found*>(lp)->dialog = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindStatic(HWND hwnd, LPARAM lp) {
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  // The message text is the static control with id 0xFFFF in message boxes.
  if (_stricmp(cls, "Static") == 0 && GetDlgCtrlID(hwnd) == 0xFFFF) {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  const bool cancel = argc > 1 && std::strcmp(argv[1], "cancel") == 0;
  const DWORD timeout = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 20000;
  const DWORD start = GetTickCount();
  Found found;
  while (!found.dialog) {
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&found));
    if (found.dialog) break;
    if (GetTickCount() - start > timeout) {
      std::printf("no dialog\n");
      return 2;
    }
    Sleep(50);
  }
  Sleep(100);  // let the box finish laying out
  wchar_t title[512] = {};
  GetWindowTextW(found.dialog, title, 511);
  HWND text = nullptr;
  EnumChildWindows(found.dialog, FindStatic, reinterpret_cast<LPARAM>(&text));
  wchar_t body[1024] = {};
  if (text) GetWindowTextW(text, body, 1023);
  std::printf("%s|%s\n", Utf8(title).c_str(), Utf8(body).c_str());
  std::fflush(stdout);
  HWND button = GetDlgItem(found.dialog, cancel ? IDCANCEL : IDOK);
  if (!button) button = GetDlgItem(found.dialog, IDOK);
  if (button) SendMessageA(button, BM_CLICK, 0, 0);
  return 0;
}
