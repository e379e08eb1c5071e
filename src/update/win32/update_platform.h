// The Windows port's services for the update check: WinINet, mapped files, and the batch
// script run hidden by the command interpreter at idle priority.
#pragma once

#include <memory>
#include <string>

#include "update/update_check.h"
#include "update/win32/wininet_http_client.h"

namespace mc::win32 {

class Win32UpdatePlatform : public UpdatePlatform {
 public:
  explicit Win32UpdatePlatform(std::shared_ptr<StopSignal> stop, WinInetOptions options = {});

  PortTraits Traits() const override;
  LeadBytePredicate LeadBytes() const override;
  uint32_t TickCount() override;
  HttpClient& Http() override { return http_; }
  // Removed by the system on close until the download is complete.
  std::unique_ptr<DownloadFile> CreateDownloadFile(const std::string& path) override;
  // GetDiskFreeSpaceEx of the file's folder: what this user may still take (quotas included).
  std::optional<uint64_t> FreeSpace(const std::string& path) override;
  std::unique_ptr<MappedFile> MapFile(const std::string& path) override;
  std::unique_ptr<MappedFile> MapOwnProgram() override;
  std::string ProgramPath() override;
  // %ComSpec% /c ""script"", hidden, IDLE_PRIORITY_CLASS, no inherited handles. The
  // interpreter is named explicitly and the path quoted, so a folder name with spaces can
  // never make Windows start another program.
  void StartScript(const std::string& scriptPath) override;
  // TerminateProcess of this process: no DLL detach or exit-time clean-up runs while the UI
  // thread may be inside them.
  void EndProcess() override;
  // To OutputDebugString: a debugger or a debug-output viewer shows it (Wine with +debugstr).
  void LogResult(int32_t code) override;

 private:
  WinInetHttpClient http_;
};

}  // namespace mc::win32
