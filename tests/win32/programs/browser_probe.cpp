// Hosts one CWebBrowserEx in a window the way the game window does and prints, one line each
// (UTF-8), what its owner sees:
//   attach 1|0                      AttachUIHandler's result
//   hostflags 0xNN                  the handler's GetHostInfo flags, asked as a document would
//   external S_OK|E_NOTIMPL         the handler's GetExternal
//   before URL | navcomplete URL | complete URL | newwindow URL     browser events
//   call NAME ok RESULT | call NAME fail                           a page function call
//   done
// Usage: browser_probe.exe [--external] [--cancel TEXT] [--keep-scrollbars] [--no-attach]
//        [--urls FILE] URL...
// The URLs (and those of FILE, UTF-8, one a line: a command line cannot carry every character
// under Wine) are navigated one after another, 400 ms apart; the probe ends 1.5 s after the last.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "browser/win32/com_values.h"
#include "browser/win32/web_browser_ex.h"
#include "../../lib/script_value_text.h"

namespace {

using mc::win32::CWebBrowserEx;

constexpr UINT_PTR kNextTimer = 1;
constexpr UINT_PTR kEndTimer = 2;

std::string Utf8(const std::string& ansi) {
  const std::wstring wide = mc::win32::WideFromAnsi(ansi);
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
  }
  return out;
}

// UTF-8 lines of a file in the system code page.
std::vector<std::string> ReadUrls(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> urls;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const int n = MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                      nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) {
      MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(), n);
    }
    urls.push_back(mc::win32::AnsiFromWide(wide.data(), wide.size()));
  }
  return urls;
}

void Print(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

struct Options {
  bool external = false;
  bool attach = true;
  bool keepScrollbars = false;
  std::string cancel;
  std::vector<std::string> urls;
};

class Events : public mc::BrowserEvents {
 public:
  explicit Events(const Options& options) : options_(options) {}
  void BeforeNavigate2(int, const std::string& url, bool& cancel) override {
    Print("before " + Utf8(url));
    cancel = !options_.cancel.empty() && url.find(options_.cancel) != std::string::npos;
  }
  void NavigateComplete2(int, const std::string& url) override {
    Print("navcomplete " + Utf8(url));
  }
  void DocumentComplete(int, const std::string& url) override { Print("complete " + Utf8(url)); }
  void NewWindow(int, const std::string& url, bool&) override { Print("newwindow " + Utf8(url)); }

 private:
  const Options& options_;
};

class External : public mc::ScriptObject {
 public:
  std::vector<std::string> Methods() const override { return {"JsCallClient"}; }
  void Call(std::string_view method, const mc::ScriptArgs& args) override {
    std::string line = "external " + std::string(method) + " ";
    for (size_t i = 0; i < args.size(); ++i) {
      line += (i ? "," : "") + Utf8(mc::DescribeScriptValue(args[i]));
    }
    Print(line);
  }
};

struct Probe {
  Options options;
  CWebBrowserEx browser;
  size_t next = 1;
};

Probe* g_probe = nullptr;  // the one probe of this test program, for its window procedure

void ReportHandler(CWebBrowserEx& browser) {
  IDocHostUIHandler* handler = nullptr;
  if (FAILED(browser.controller().QueryInterface(IID_IDocHostUIHandler,
                                                 reinterpret_cast<void**>(&handler)))) {
    Print("no handler");
    return;
  }
  DOCHOSTUIINFO info = {};
  info.cbSize = sizeof info;
  handler->GetHostInfo(&info);
  char flags[32];
  std::snprintf(flags, sizeof flags, "hostflags 0x%02lx", info.dwFlags);
  Print(flags);
  IDispatch* external = nullptr;
  const HRESULT hr = handler->GetExternal(&external);
  Print(hr == S_OK ? "external S_OK" : hr == E_NOTIMPL ? "external E_NOTIMPL" : "external other");
  if (external) external->Release();
  handler->Release();
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && g_probe) {
    Probe& probe = *g_probe;
    if (wp == kNextTimer) {
      if (probe.next < probe.options.urls.size()) {
        probe.browser.Navigate(probe.options.urls[probe.next++]);
      }
      if (probe.next >= probe.options.urls.size()) {
        KillTimer(hwnd, kNextTimer);
        SetTimer(hwnd, kEndTimer, 1500, nullptr);
      }
    } else if (wp == kEndTimer) {
      KillTimer(hwnd, kEndTimer);
      probe.browser.CallFunction("report", {}, [](bool ok, const mc::ScriptValue& value) {
        Print(ok ? "call report ok " + Utf8(mc::DescribeScriptValue(value)) : "call report fail");
      });
      Print("done");
      DestroyWindow(hwnd);
    }
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Probe probe;
  g_probe = &probe;
  for (int i = 1; i < __argc; ++i) {
    const std::string arg = __argv[i];
    if (arg == "--external") {
      probe.options.external = true;
    } else if (arg == "--no-attach") {
      probe.options.attach = false;
    } else if (arg == "--keep-scrollbars") {
      probe.options.keepScrollbars = true;
    } else if (arg == "--cancel" && i + 1 < __argc) {
      probe.options.cancel = __argv[++i];
    } else if (arg == "--urls" && i + 1 < __argc) {
      for (std::string& url : ReadUrls(__argv[++i])) probe.options.urls.push_back(std::move(url));
    } else {
      probe.options.urls.push_back(arg);
    }
  }
  if (probe.options.urls.empty()) return 64;

  WNDCLASSA wc = {};
  wc.lpfnWndProc = ProbeProc;
  wc.hInstance = instance;
  wc.lpszClassName = "MicroClientBrowserProbe";
  RegisterClassA(&wc);
  HWND window = CreateWindowA(wc.lpszClassName, "browser probe", WS_POPUP | WS_VISIBLE, 0, 0,
                              400, 300, nullptr, nullptr, instance, nullptr);
  Events events(probe.options);
  External external;
  const RECT area = {0, 0, 400, 300};
  if (!window || !probe.browser.Create("", WS_CHILD | WS_VISIBLE, area, window, 170, &events)) {
    Print("create failed");
    return 1;
  }
  probe.browser.Navigate("about:blank");
  if (probe.options.attach) {
    Print(probe.browser.AttachUIHandler(probe.options.keepScrollbars) ? "attach 1" : "attach 0");
  }
  if (probe.options.external) probe.browser.SetExternal(&external);
  probe.browser.Navigate(probe.options.urls[0]);
  probe.browser.SetSilent(true);
  ReportHandler(probe.browser);
  SetTimer(window, kNextTimer, 400, nullptr);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (probe.browser.PreTranslateMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  g_probe = nullptr;
  return 0;
}
