#include "app/win32/port_host.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <shlobj.h>

#include "app/desktop_shortcut.h"
#include "game/win32/game_dialog.h"
#include "launcher/win32/launcher_dialog.h"
#include "package/net_adapters.h"
#include "package/program_name.h"
#include "package/win32/mapped_file.h"
#include "package/win32/port_traits.h"
#include "platform/win32/ansi_text.h"
#include "platform/win32/process.h"
#include "platform/win32/prompts.h"
#include "platform/win32/scoped_handles.h"
#include "skin/win32/gdiplus_background.h"
#include "update/win32/update_start.h"

namespace mc::win32 {

PortTraits Win32AppHost::Traits() const { return kPortTraits; }

bool Win32AppHost::PrepareProcess() {
  InitCommonControls();
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0 || wsa.wVersion != MAKEWORD(1, 1)) {
    WSACleanup();
    const std::string appTitle =
        ProgramBaseName(win32::ProgramPath(), '\\', WithoutExtension::kEmpty);
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
  win32::ShowMessage(title, text);
}

std::string Win32AppHost::CurrentDirectory() { return win32::CurrentDirectory(); }

bool Win32AppHost::FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32AppHost::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

std::string Win32AppHost::ProgramPath() { return win32::ProgramPath(); }

std::unique_ptr<MappedFile> Win32AppHost::MapProgramFile(MapError& error) {
  return MapFile(ProgramPath(), error);
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
  // Only plain files: no folders, links or devices named *.lnk.
  constexpr DWORD kNotAFile =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  do {
    if (data.dwFileAttributes & kNotAFile) continue;
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
  if (FAILED(file->Load(WideFromAnsi(shortcutPath).c_str(), STGM_READ))) return std::nullopt;
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
  link->SetPath(target.c_str());
  // Started in its own folder, where an update downloads and renames it.
  link->SetWorkingDirectory(ProgramFolder(target, '\\').c_str());
  // The link is saved to memory and written by us: IPersistFile::Save would open whatever has
  // the name, a link planted there included. The bytes go to a temporary created new beside
  // the shortcut, which then replaces the shortcut (a rename replaces a link, never its
  // target). The temporary takes a name nobody has (CREATE_NEW, the next name while one
  // exists): nothing found there is deleted to make room, since deleting a planted link
  // deletes its target under Wine.
  ComPtr<IPersistStream> persist;
  if (FAILED(link->QueryInterface(IID_IPersistStream, persist.put_void()))) return;
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return;
  if (FAILED(persist->Save(stream.get(), TRUE))) return;
  HGLOBAL memory = nullptr;
  if (FAILED(GetHGlobalFromStream(stream.get(), &memory))) return;
  STATSTG stat = {};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.HighPart != 0) return;
  const DWORD size = stat.cbSize.LowPart;

  std::string temp;
  ScopedHandle file;
  for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
    temp = shortcutPath + (attempt ? "." + std::to_string(attempt) : std::string()) + ".part";
    file.reset(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const DWORD error = GetLastError();
    if (!file.valid() && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return;
  }
  if (!file.valid()) return;
  const void* bytes = GlobalLock(memory);
  DWORD written = 0;
  const bool ok = bytes && WriteFile(file.get(), bytes, size, &written, nullptr) && written == size;
  if (bytes) GlobalUnlock(memory);
  const bool closed = CloseHandle(file.release()) != FALSE;
  if (!ok || !closed || !MoveFileExA(temp.c_str(), shortcutPath.c_str(), MOVEFILE_REPLACE_EXISTING))
    DeleteFileA(temp.c_str());
}

void Win32AppHost::RunLauncher(LauncherApp& app) {
  const LauncherSession session{app.config, *this, app.gameAddress};
  CLauncherTranslucentDlg launcher(session, std::move(app.mainImage), [&](HWND window) {
    if (!app.startedByUpdate)
      updateWorker_ = StartUpdateCheck(MakeUpdateRecord(app.config, app.programFolder), window);
  });
  launcher.DoModal();
}

void Win32AppHost::RunGame(LauncherApp& app, const std::string& address) {
  CGameDialog dialog(app.config, *this, nullptr);
  dialog.SetGameUrl(address);
  dialog.DoModal();
}

}  // namespace mc::win32
