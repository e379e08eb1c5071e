// The version check: fetch the version file, compare it with the configured version and,
// when a newer one is published, fetch the new program and hand over to the update script.
// Runs on its own thread with a private copy of its settings; the port supplies HTTP, files
// mapped for inspection, process start and process end.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/app_host.h"
#include "package/config_record.h"
#include "update/download.h"
#include "update/signed_update.h"
#include "update/update_script.h"

namespace mc {

class LauncherConfig;
class StopSignal;

// Result codes, posted to the launcher window as the message number.
enum UpdateResult : int32_t {
  kUpdateUpToDate = 0,
  kUpdateVersionDownloadFailed = 10009,
  kUpdateVersionFileUnreadable = 10010,
  kUpdateExeDownloadFailed = 10011,
  kUpdateScriptNotCreated = 10013,
  // Not posted: the script has been started and the process ended (seen only in tests,
  // whose platform returns from EndProcess).
  kUpdateScriptStarted = -1,
};

struct UpdateRecord {
  std::string versionPath;    // configured versionUrl, appended after the port unchanged
  std::string exePath;        // configured exeUrl
  std::string server;         // configured server
  std::string localVersion;   // configured version
  int32_t port = 80;
  // The program's own folder: both downloads, the script and the renames happen there, so an
  // update never moves the program out of it, whatever the current directory is.
  std::string workDirectory;
  // The key a new program must be signed with; none required by default.
  UpdateKey updateKey;
};

// The record of a package's configuration (no signing key).
UpdateRecord MakeUpdateRecord(const ConfigRecord& config, std::string workDirectory);
// The record of the running program: its configuration and its package's signing key.
UpdateRecord MakeUpdateRecord(const LauncherConfig& config, std::string workDirectory);

class UpdatePlatform {
 public:
  virtual ~UpdatePlatform() = default;
  // Path separator, image format (which also picks the script: batch for PE, sh for ELF),
  // script and backup names.
  virtual PortTraits Traits() const = 0;
  // Lead bytes of the code page that program paths are written in (for the batch script).
  virtual LeadBytePredicate LeadBytes() const { return IsGbkLeadByte; }
  // Milliseconds since some fixed point; wraps (the Windows tick count).
  virtual uint32_t TickCount() = 0;
  virtual HttpClient& Http() = 0;
  // The file a download or the update script is written to (see DownloadFile): created new,
  // never through a link planted under its name; the plain one unless the port has better.
  virtual std::unique_ptr<DownloadFile> CreateDownloadFile(const std::string& path) {
    return CreatePlainDownloadFile(path);
  }
  // Bytes the caller may still write in the folder that holds `path`; nullopt when unknown
  // (the download is then not refused for its size alone).
  virtual std::optional<uint64_t> FreeSpace(const std::string& /*path*/) { return std::nullopt; }
  // Read-only view of a whole file; nullptr when it cannot be opened or is empty.
  virtual std::unique_ptr<MappedFile> MapFile(const std::string& path) = 0;
  virtual std::unique_ptr<MappedFile> MapOwnProgram() = 0;
  // Gives a downloaded program what it needs to be started (Linux: the running program's
  // permission bits). False when that fails.
  virtual bool PrepareExecutable(const std::string& /*path*/) { return true; }
  virtual std::string ProgramPath() = 0;
  // Starts the written script hidden and detached, at idle priority; the outcome is not
  // examined (a script that cannot start leaves the program in place).
  virtual void StartScript(const std::string& scriptPath) = 0;
  // Ends the whole process at once from this thread, without running exit-time clean-up
  // that the user-interface thread may be using. Returns only in tests.
  virtual void EndProcess() = 0;
  // Writes the check's result to the system's diagnostic log (a line per check), where support
  // and the tests read it; nothing the player sees.
  virtual void LogResult(int32_t /*code*/) {}
};

// The thread's work, start to end; returns the code to post. A newer program that is not
// authentic under record.updateKey is deleted and reported as not downloaded. When the script
// is started the process ends inside (kUpdateScriptStarted is returned only by test platforms). A stop
// request makes it return early with a failure code and delete what it downloaded.
int32_t RunUpdateCheck(const UpdateRecord& record, UpdatePlatform& platform,
                       const StopSignal& stop);

}  // namespace mc
