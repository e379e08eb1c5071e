#include "update/win32/update_platform_win32.h"

// The host's header brings winsock2.h, which must come before windows.h.
#include "platform/win32/win32_app_host.h"
#include "platform/win32/scoped_handles.h"
#include "update/win32/download_file_win32.h"

namespace mc::win32 {
namespace {

class MappedView : public MappedFile {
 public:
  MappedView(HANDLE file, HANDLE mapping, const void* view, size_t size)
      : file_(file), mapping_(mapping), view_(view), size_(size) {}
  const uint8_t* data() const override { return static_cast<const uint8_t*>(view_.get()); }
  size_t size() const override { return size_; }

 private:
  ScopedHandle file_;  // in opening order, so they close in reverse
  ScopedHandle mapping_;
  ScopedMapView view_;
  size_t size_;
};

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

PortTraits Win32UpdatePlatform::Traits() const { return Win32AppHost().Traits(); }

LeadBytePredicate Win32UpdatePlatform::LeadBytes() const { return IsSystemLeadByte; }

uint32_t Win32UpdatePlatform::TickCount() { return GetTickCount(); }

std::unique_ptr<DownloadFile> Win32UpdatePlatform::CreateDownloadFile(const std::string& path) {
  return CreateDeletePendingDownloadFile(path);
}

std::unique_ptr<MappedFile> Win32UpdatePlatform::MapFile(const std::string& path) {
  ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return nullptr;
  const DWORD size = GetFileSize(file.get(), nullptr);
  if (size == 0 || size == INVALID_FILE_SIZE) return nullptr;
  ScopedHandle mapping(CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping.valid()) return nullptr;
  const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
  if (!view) return nullptr;
  return std::make_unique<MappedView>(file.release(), mapping.release(), view, size);
}

std::unique_ptr<MappedFile> Win32UpdatePlatform::MapOwnProgram() { return MapFile(ProgramPath()); }

std::string Win32UpdatePlatform::ProgramPath() { return Win32AppHost().ProgramPath(); }

std::string Win32UpdatePlatform::CurrentDirectory() { return Win32AppHost().CurrentDirectory(); }

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

}  // namespace mc::win32
