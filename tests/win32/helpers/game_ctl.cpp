// Test helper run under the same wineserver as the client: finds the game window (class
// MicroClientGame) and reads or drives it the way the shell and the user would, without
// synthetic X key events (unreliable under Wine). Prints one line per command.
// Usage: game_ctl.exe COMMAND [ARGS...]
//   state                    "L T R B visible|hidden normal|iconic" of the window
//   wait-state L T R B VIS   waits (5 s) until the window has that rectangle and visibility
//   child ID                 "L T R B visible|hidden" of the child control ID, screen coordinates
//   title                    the window text (UTF-8)
//   buttons                  how many title-bar buttons (Button children) it has
//   hit X Y [X Y ...]        the window's answers to WM_NCHITTEST at the screen points
//   key VK [page]            posts WM_KEYDOWN/WM_KEYUP of the virtual key to the window, or with
//                            "page" to the innermost window inside the browser (control 170)
//   post MSG WPARAM LPARAM   posts a message to the window (numbers, 0x... allowed)
//   menu                     waits for a popup menu and prints its rectangle
//   count                    how many game windows exist (of every process)
//   gone                     waits (10 s) until no game window exists; prints "gone" or "still"
//   work                     the work area "L T R B"
//   focus                    waits (3 s) for the keyboard focus of the window's thread to be in
//                            the browser (control 170): "page CLASS" with the class of the
//                            focused window, else "CLASS" of the window that has it, or "none"
//   tray-remove ID           removes the window's tray icon ID, as a restarting shell loses it
//   taskbar-created          sends the window the shell's "TaskbarCreated" message
//   rect CLASS               "L T R B" of the first window of that class, once one is shown
//   monitors                 "L T R B" of each monitor, then "work L T R B" of its work area
//   tray                     "X Y" of the first icon cell of Wine's own tray window (shown
//                            when no X tray host runs), or "none" while it is hidden
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kClass[] = "MicroClientGame";

// The game window once it has its title or is shown: it exists, untitled, for a moment
// before its first message.
HWND WaitWindow(DWORD timeout = 10000) {
  const DWORD start = GetTickCount();
  HWND window;
  while ((!(window = FindWindowA(kClass, nullptr)) ||
          (GetWindowTextLengthW(window) == 0 && !IsWindowVisible(window))) &&
         GetTickCount() - start < timeout)
    Sleep(20);
  return window;
}

long Number(const char* text) { return std::strtol(text, nullptr, 0); }

void PrintRect(const RECT& r, const char* tail) {
  std::printf("%ld %ld %ld %ld %s\n", r.left, r.top, r.right, r.bottom, tail);
}

HWND Innermost(HWND window) {
  while (HWND child = GetWindow(window, GW_CHILD)) window = child;
  return window;
}

BOOL CALLBACK CountButtons(HWND hwnd, LPARAM lp) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (_stricmp(name, "Button") == 0) ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

BOOL CALLBACK CountWindows(HWND hwnd, LPARAM lp) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (_stricmp(name, kClass) == 0) ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

struct MenuSearch {
  HWND menu = nullptr;
};

BOOL CALLBACK FindMenu(HWND hwnd, LPARAM lp) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (std::strcmp(name, "#32768") == 0 && IsWindowVisible(hwnd)) {
    reinterpret_cast<MenuSearch*>(lp)->menu = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  const RECT& m = info.rcMonitor;
  const RECT& w = info.rcWork;
  std::printf("%ld %ld %ld %ld work %ld %ld %ld %ld\n", m.left, m.top, m.right, m.bottom, w.left,
              w.top, w.right, w.bottom);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 64;
  const char* command = argv[1];
  if (std::strcmp(command, "count") == 0) {
    int n = 0;
    EnumWindows(CountWindows, reinterpret_cast<LPARAM>(&n));
    std::printf("%d\n", n);
    return 0;
  }
  if (std::strcmp(command, "gone") == 0) {
    const DWORD start = GetTickCount();
    while (FindWindowA(kClass, nullptr) && GetTickCount() - start < 10000) Sleep(50);
    std::printf("%s\n", FindWindowA(kClass, nullptr) ? "still" : "gone");
    return 0;
  }
  if (std::strcmp(command, "work") == 0) {
    RECT r{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (std::strcmp(command, "rect") == 0 && argc >= 3) {
    HWND found = nullptr;
    for (int i = 0; i < 200; ++i) {
      found = FindWindowA(argv[2], nullptr);
      if (found && IsWindowVisible(found)) break;
      Sleep(50);
    }
    RECT r{};
    if (!found || !GetWindowRect(found, &r)) {
      std::printf("no window\n");
      return 2;
    }
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (std::strcmp(command, "monitors") == 0) {
    EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
    return 0;
  }
  if (std::strcmp(command, "tray") == 0) {
    HWND tray = FindWindowA(nullptr, "Wine System Tray");
    if (!tray || !IsWindowVisible(tray)) {
      std::printf("none\n");
      return 0;
    }
    POINT origin{0, 0};
    ClientToScreen(tray, &origin);
    const int cell = GetSystemMetrics(SM_CXSMICON) + 4;
    std::printf("%ld %ld\n", origin.x + cell / 2, origin.y + cell / 2);
    return 0;
  }
  if (std::strcmp(command, "menu") == 0) {
    MenuSearch search;
    const DWORD start = GetTickCount();
    while (!search.menu && GetTickCount() - start < 5000) {
      EnumWindows(FindMenu, reinterpret_cast<LPARAM>(&search));
      if (!search.menu) Sleep(50);
    }
    if (!search.menu) {
      std::printf("no menu\n");
      return 2;
    }
    RECT r{};
    GetWindowRect(search.menu, &r);
    PrintRect(r, "menu");
    return 0;
  }
  HWND window = WaitWindow();
  if (!window) {
    std::printf("no window\n");
    return 2;
  }
  if (std::strcmp(command, "state") == 0 || std::strcmp(command, "wait-state") == 0) {
    RECT want{};
    const bool wait = command[0] == 'w' && argc >= 7;
    if (wait) want = {Number(argv[2]), Number(argv[3]), Number(argv[4]), Number(argv[5])};
    const DWORD start = GetTickCount();
    RECT r{};
    bool visible = false;
    do {
      GetWindowRect(window, &r);
      visible = IsWindowVisible(window) != FALSE;
      if (!wait || (EqualRect(&r, &want) && visible == (std::strcmp(argv[6], "visible") == 0)))
        break;
      Sleep(50);
    } while (GetTickCount() - start < 5000);
    char tail[64];
    std::snprintf(tail, sizeof tail, "%s %s", visible ? "visible" : "hidden",
                  IsIconic(window) ? "iconic" : "normal");
    PrintRect(r, tail);
    return 0;
  }
  if (std::strcmp(command, "title") == 0) {
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 511);
    char utf8[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
    std::printf("%s\n", utf8);
    return 0;
  }
  if (std::strcmp(command, "buttons") == 0) {
    int n = 0;
    EnumChildWindows(window, CountButtons, reinterpret_cast<LPARAM>(&n));
    std::printf("%d\n", n);
    return 0;
  }
  if (std::strcmp(command, "child") == 0 && argc >= 3) {
    HWND child = GetDlgItem(window, static_cast<int>(Number(argv[2])));
    if (!child) {
      std::printf("no child\n");
      return 2;
    }
    RECT r{};
    GetWindowRect(child, &r);
    PrintRect(r, IsWindowVisible(child) ? "visible" : "hidden");
    return 0;
  }
  if (std::strcmp(command, "hit") == 0 && argc >= 4) {
    for (int i = 2; i + 1 < argc; i += 2) {
      const LRESULT code = SendMessageA(window, WM_NCHITTEST, 0,
                                        MAKELPARAM(Number(argv[i]), Number(argv[i + 1])));
      std::printf(i > 2 ? " %ld" : "%ld", static_cast<long>(code));
    }
    std::printf("\n");
    return 0;
  }
  if (std::strcmp(command, "key") == 0 && argc >= 3) {
    HWND target = window;
    if (argc >= 4 && std::strcmp(argv[3], "page") == 0) {
      HWND browser = GetDlgItem(window, 170);
      if (!browser) {
        std::printf("no browser\n");
        return 2;
      }
      target = Innermost(browser);
    }
    const WPARAM key = static_cast<WPARAM>(Number(argv[2]));
    const UINT scan = MapVirtualKeyA(static_cast<UINT>(key), 0);
    PostMessageA(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageA(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
    std::printf("posted\n");
    return 0;
  }
  if (std::strcmp(command, "focus") == 0) {
    HWND browser = GetDlgItem(window, 170);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    const DWORD start = GetTickCount();
    HWND focus = nullptr;
    bool inPage = false;
    do {
      GUITHREADINFO info{};
      info.cbSize = sizeof info;
      focus = GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
      inPage = browser && focus && (focus == browser || IsChild(browser, focus));
      if (!inPage) Sleep(50);
    } while (!inPage && GetTickCount() - start < 3000);
    char name[64] = "none";
    if (focus) GetClassNameA(focus, name, sizeof name);
    std::printf(inPage ? "page %s\n" : "%s\n", name);
    return 0;
  }
  if (std::strcmp(command, "tray-remove") == 0 && argc >= 3) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = static_cast<UINT>(Number(argv[2]));
    std::printf("%s\n", Shell_NotifyIconA(NIM_DELETE, &icon) ? "removed" : "not removed");
    return 0;
  }
  if (std::strcmp(command, "taskbar-created") == 0) {
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    std::printf("sent\n");
    return 0;
  }
  if (std::strcmp(command, "post") == 0 && argc >= 5) {
    PostMessageA(window, static_cast<UINT>(Number(argv[2])), static_cast<WPARAM>(Number(argv[3])),
                 static_cast<LPARAM>(Number(argv[4])));
    std::printf("posted\n");
    return 0;
  }
  return 64;
}
