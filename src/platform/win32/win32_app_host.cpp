#include "platform/win32/win32_app_host.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <shlobj.h>
#include <winsock2.h>

#include "app/desktop_shortcut.h"
#include "app/launcher_app.h"
#include "game/win32/game_dialog.h"
#include "launcher/win32/launcher_dialog.h"
#include "package/net_adapters.h"
#include "platform/win32/scoped_handles.h"
#include "skin/win32/gdiplus_background.h"
#include "update/win32/update_start_win32.h"

namespace mc::win32 {
namespace {

class Win32MappedFile : public MappedFile {
 public:
  Win32MappedFile(HANDLE file, HANDLE mapping, const void* view, size_t size)
      : file_(file), mapping_(mapping), view_(view), size_(size) {}
  const uint8_t* data() const override { return static_cast<const uint8_t*>(view_.get()); }
  size_t size() const override { return size_; }

 private:
  // Declared in opening order so they close in reverse.
  ScopedHandle file_;
  ScopedHandle mapping_;
  ScopedMapView view_;
  size_t size_;
};

std::wstring Widen(const std::string& ansi) {
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), n);
  wide.resize(static_cast<size_t>(n - 1));
  return wide;
}

}  // namespace

PortTraits Win32AppHost::Traits() const {
  return PortTraits{'\\', ImageFormat::kPe, "Launcher_back_up.exe", "Launcher_update.bat", ".lnk"};
}

bool Win32AppHost::PrepareProcess() {
  InitCommonControls();
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0 || wsa.wVersion != MAKEWORD(1, 1)) {
    WSACleanup();
    const std::string appTitle = ShortcutBaseName(ProgramPath(), '\\');
    MessageBoxA(nullptr, "", appTitle.c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, background thread, codecs
  Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr);
  return true;
}

int Win32AppHost::ExitInstance() {
  if (gdiplusToken_ == 0) return 0;
  Gdiplus::GdiplusShutdown(gdiplusToken_);
  gdiplusToken_ = 0;
  return 0;
}

void Win32AppHost::ShowMessage(const std::string& title, const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK);
}

std::string Win32AppHost::CurrentDirectory() {
  char buffer[MAX_PATH] = {};
  const DWORD n = GetCurrentDirectoryA(MAX_PATH, buffer);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

bool Win32AppHost::FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Win32AppHost::RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

std::string Win32AppHost::ProgramPath() {
  char buffer[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

std::unique_ptr<MappedFile> Win32AppHost::MapProgramFile(MapError& error) {
  ScopedHandle file(CreateFileA(ProgramPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    error = MapError::kCannotOpen;
    return nullptr;
  }
  const DWORD size = GetFileSize(file.get(), nullptr);
  ScopedHandle mapping(CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping.valid()) {
    error = MapError::kMappingFailed;
    return nullptr;
  }
  const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
  if (!view) {
    error = MapError::kViewFailed;
    return nullptr;
  }
  error = MapError::kNone;
  return std::make_unique<Win32MappedFile>(file.release(), mapping.release(), view, size);
}

std::vector<NetAdapter> Win32AppHost::NetAdapters() { return ReadNetAdapters(); }

std::unique_ptr<BackgroundImage> Win32AppHost::DecodeBackground(const std::vector<uint8_t>& png) {
  return DecodeBackgroundGdiplus(png);
}

std::optional<std::string> Win32AppHost::DesktopFolder() {
  char buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_DESKTOPDIRECTORY, FALSE)) return std::nullopt;
  return std::string(buffer);
}

bool Win32AppHost::ForEachShortcutFile(const std::string& folder,
                                       const std::function<bool(const std::string&)>& visit) {
  ScopedCoInit com;
  if (!com.ok()) return false;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*.lnk").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  do {
    if (!visit(data.cFileName)) break;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return true;
}

std::optional<std::string> Win32AppHost::ShortcutTarget(const std::string& shortcutPath) {
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.put_void())))
    return std::nullopt;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return std::nullopt;
  if (FAILED(file->Load(Widen(shortcutPath).c_str(), STGM_READ))) return std::nullopt;
  char target[MAX_PATH] = {};
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, 0))) return std::nullopt;
  return std::string(target);
}

void Win32AppHost::WriteShortcut(const std::string& shortcutPath, const std::string& target) {
  ScopedCoInit com;
  if (!com.ok()) return;
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.put_void())))
    return;
  const std::wstring widePath = Widen(shortcutPath);
  link->SetPath(target.c_str());
  ComPtr<IPersistFile> file;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put_void())))
    file->Save(widePath.c_str(), FALSE);
}

void Win32AppHost::RunLauncher(LauncherApp& app) {
  CLauncherTranslucentDlg launcher(app, std::move(app.mainImage), [&](HWND window) {
    updateWorker_ = StartUpdateCheck(app.config.record(), CurrentDirectory(), window);
  });
  launcher.DoModal();
}

void Win32AppHost::RunGame(LauncherApp& app, const std::string& address) {
  CGameDialog dialog(app.config, *this, nullptr);
  dialog.SetGameUrl(address);
  dialog.DoModal();
}

}  // namespace mc::win32
