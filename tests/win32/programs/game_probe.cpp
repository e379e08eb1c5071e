// The game window of the Windows port driven from a test script, for what a page would do but
// cannot under Wine (no HTML engine: pages never render there). The probe is branded like the
// client (a package appended to a copy of it, with firstUrl set) and runs the same start-up
// sequence and the same CGameDialog. Its script bridge is exercised by calling the external
// object's IDispatch exactly as a page's window.external.JsCallClient(...) would.
//
// usage: game_probe.exe LOG-FILE COMMAND-FILE
// Command lines (UTF-8) are read as they are appended to COMMAND-FILE; fields are separated by
// '|'. Each command is answered in LOG-FILE (UTF-8), then "done N" with the command's number.
//   js|ARG|ARG...       Invoke of window.external.JsCallClient with these arguments in call
//                       order: s:TEXT (a string), i4:N (a script number), int:N, uint:N,
//                       r8:X, bool:0|1, null, empty, obj (an object), big:N:TEXT (TEXT padded
//                       with 'x' to N characters), rep:N:ARG (N copies of ARG)
//   names|NAME          the external object's GetIDsOfNames: "names HRESULT DISPID"
//   title               "title PAINTED|WINDOW-TEXT"
// The window's own actions are logged as they happen:
//   page FUNCTION ARGS  a call of a page function (arguments joined with ',')
//   start-program       a new instance of the program would be started
//   end                 the window ends its modal run
//   result N            DoModal returned N
#include <winsock2.h>
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/launcher_app.h"
#include "browser/win32/com_values.h"
#include "game/win32/game_dialog.h"
#include "app/win32/port_host.h"

namespace {

using namespace mc::win32;

FILE* g_log = nullptr;  // the probe's one output channel

void Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(g_log, format, args);
  va_end(args);
  std::fputc('\n', g_log);
  std::fflush(g_log);
}

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

std::string Utf8(const std::string& ansi) { return Utf8FromWide(WideFromAnsi(ansi)); }

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t end = line.find(separator, start);
    fields.push_back(line.substr(start, end - start));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

// A plain object, for arguments that are objects or arrays.
class PlainObject : public IDispatch {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    *ppv = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
};

PlainObject g_object;

// Appends the VARIANTs of one argument description (call order).
void AddArgument(const std::string& argText, std::vector<VARIANT>& args) {
  VARIANT v;
  VariantInit(&v);
  const size_t colon = argText.find(':');
  const std::string kind = argText.substr(0, colon);
  const std::string value = colon == std::string::npos ? "" : argText.substr(colon + 1);
  if (kind == "rep") {
    const size_t second = value.find(':');
    const long count = std::strtol(value.substr(0, second).c_str(), nullptr, 10);
    for (long i = 0; i < count; ++i) AddArgument(value.substr(second + 1), args);
    return;
  }
  if (kind == "s") {
    const std::wstring text = Wide(value);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  } else if (kind == "big") {
    const size_t second = value.find(':');
    std::wstring text = Wide(value.substr(second + 1));
    text.resize(static_cast<size_t>(std::strtol(value.substr(0, second).c_str(), nullptr, 10)),
                L'x');
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  } else if (kind == "i4") {
    V_VT(&v) = VT_I4;
    V_I4(&v) = static_cast<LONG>(std::strtol(value.c_str(), nullptr, 10));
  } else if (kind == "int") {
    V_VT(&v) = VT_INT;
    V_INT(&v) = static_cast<INT>(std::strtol(value.c_str(), nullptr, 10));
  } else if (kind == "uint") {
    V_VT(&v) = VT_UINT;
    V_UINT(&v) = static_cast<UINT>(std::strtoul(value.c_str(), nullptr, 10));
  } else if (kind == "r8") {
    V_VT(&v) = VT_R8;
    V_R8(&v) = std::strtod(value.c_str(), nullptr);
  } else if (kind == "bool") {
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = value == "1" ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (kind == "null") {
    V_VT(&v) = VT_NULL;
  } else if (kind == "obj") {
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = &g_object;
  }
  args.push_back(v);
}

class ProbeDialog : public CGameDialog {
 public:
  using CGameDialog::CGameDialog;

  void RunCommand(const std::string& line) {
    const std::vector<std::string> fields = Split(line, '|');
    IDispatch* external = this->external();
    if (fields[0] == "js" && external) {
      std::vector<VARIANT> args;
      for (size_t i = 1; i < fields.size(); ++i) AddArgument(fields[i], args);
      std::vector<VARIANT> reversed(args.rbegin(), args.rend());  // DISPPARAMS: last first
      DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                           static_cast<UINT>(reversed.size()), 0};
      VARIANT result;
      VariantInit(&result);
      const HRESULT hr = external->Invoke(100, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD,
                                          &params, &result, nullptr, nullptr);
      Log("js 0x%08lx", static_cast<unsigned long>(hr));
      VariantClear(&result);
      for (VARIANT& v : args) {
        if (V_VT(&v) == VT_DISPATCH) V_VT(&v) = VT_EMPTY;  // not counted for us
        VariantClear(&v);
      }
    } else if (fields[0] == "names" && fields.size() > 1 && external) {
      std::wstring name = Wide(fields[1]);
      LPOLESTR names[] = {name.data()};
      DISPID id = DISPID_UNKNOWN;
      const HRESULT hr = external->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id);
      Log("names 0x%08lx %ld", static_cast<unsigned long>(hr), static_cast<long>(id));
    } else if (fields[0] == "title") {
      wchar_t text[512] = {};
      GetWindowTextW(hwnd(), text, 511);
      const auto& painted = model().titleText();
      Log("title %s|%s", painted ? Utf8(*painted).c_str() : "(none)",
          Utf8FromWide(text).c_str());
    } else {
      Log("unknown command");
    }
  }

 protected:
  void CallPage(const mc::PageCall& call) override {
    std::string args;
    for (size_t i = 0; i < call.args.size(); ++i) args += (i ? "," : "") + call.args[i];
    Log("page %s %s", call.function.c_str(), args.c_str());
    CGameDialog::CallPage(call);
  }
  void StartProgram() override { Log("start-program"); }
  void EndDialog() override {
    Log("end");
    CGameDialog::EndDialog();
  }
};

// Reads the commands appended to the file since the last look, on the window's thread.
struct CommandFeed {
  std::string path;
  std::streamoff offset = 0;
  int done = 0;
  ProbeDialog* dialog = nullptr;
};

CommandFeed* g_feed = nullptr;  // the probe's one command source, read by its timer

void CALLBACK PollCommands(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_feed || !g_feed->dialog || !g_feed->dialog->hwnd()) return;
  std::ifstream in(g_feed->path, std::ios::binary);
  if (!in) return;
  in.seekg(g_feed->offset);
  std::string line;
  while (std::getline(in, line)) {
    if (in.eof()) break;  // a line still being written
    g_feed->offset = in.tellg();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    g_feed->dialog->RunCommand(line);
    Log("done %d", ++g_feed->done);
  }
}

class ProbeHost : public Win32AppHost {
 public:
  explicit ProbeHost(CommandFeed& feed) : feed_(feed) {}
  void RunGame(mc::LauncherApp& app, const std::string& address) override {
    ProbeDialog dialog(app.config, *this, nullptr);
    dialog.SetGameUrl(address);
    feed_.dialog = &dialog;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, PollCommands);
    const INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    feed_.dialog = nullptr;
    Log("result %d", static_cast<int>(result));
  }

 private:
  CommandFeed& feed_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 64;
  g_log = std::fopen(__argv[1], "ab");
  if (!g_log) return 1;
  CommandFeed feed;
  feed.path = __argv[2];
  g_feed = &feed;
  ProbeHost host(feed);
  mc::LauncherApp app(host, host);
  app.InitInstance();
  host.ExitInstance();
  std::fclose(g_log);
  return 0;
}
