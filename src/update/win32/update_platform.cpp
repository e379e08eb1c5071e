#include "update/win32/update_platform.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdio>

#include "package/win32/mapped_file.h"
#include "package/win32/port_traits.h"
#include "platform/win32/process.h"
#include "update/win32/download_file.h"

namespace mc::win32 {
namespace {

bool IsSystemLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

std::string CommandInterpreter() {
  char path[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA("ComSpec", path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return std::string(path, n);
  const UINT m = GetSystemDirectoryA(path, MAX_PATH);
  return std::string(path, m > 0 && m < MAX_PATH ? m : 0) + "\\cmd.exe";
}

}  // namespace

Win32UpdatePlatform::Win32UpdatePlatform(std::shared_ptr<StopSignal> stop, WinInetOptions options)
    : http_(std::move(stop), options) {}

PortTraits Win32UpdatePlatform::Traits() const { return kPortTraits; }

LeadBytePredicate Win32UpdatePlatform::LeadBytes() const { return IsSystemLeadByte; }

uint32_t Win32UpdatePlatform::TickCount() { return GetTickCount(); }

std::unique_ptr<DownloadFile> Win32UpdatePlatform::CreateDownloadFile(const std::string& path) {
  return CreateDeletePendingDownloadFile(path);
}

std::optional<uint64_t> Win32UpdatePlatform::FreeSpace(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  ULARGE_INTEGER available = {};
  if (!GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr)) return std::nullopt;
  return static_cast<uint64_t>(available.QuadPart);
}

std::unique_ptr<MappedFile> Win32UpdatePlatform::MapFile(const std::string& path) {
  MapError error = MapError::kNone;
  return win32::MapFile(path, error);
}

std::unique_ptr<MappedFile> Win32UpdatePlatform::MapOwnProgram() { return MapFile(ProgramPath()); }

std::string Win32UpdatePlatform::ProgramPath() { return win32::ProgramPath(); }

void Win32UpdatePlatform::StartScript(const std::string& scriptPath) {
  const std::string interpreter = CommandInterpreter();
  // cmd drops the outer pair of quotes after /c and runs the quoted path.
  std::string commandLine = "cmd.exe /c \"\"" + scriptPath + "\"\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  if (CreateProcessA(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                     IDLE_PRIORITY_CLASS, nullptr, nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

void Win32UpdatePlatform::EndProcess() { TerminateProcess(GetCurrentProcess(), 0); }

void Win32UpdatePlatform::LogResult(int32_t code) {
  char line[64];
  std::snprintf(line, sizeof line, "microclient: update check result %ld\n",
                static_cast<long>(code));
  OutputDebugStringA(line);
}

}  // namespace mc::win32
