#include "update/update_check.h"

#include <cstdio>
#include <memory>

#include "package/launcher_config.h"
#include "update/client_image.h"
#include "update/stop_signal.h"
#include "update/update_url.h"
#include "update/version_file.h"

namespace mc {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The first line of the version file, which is deleted afterwards; false when it cannot be
// opened (it is deleted then too).
bool ReadVersionLine(const std::string& path, std::string& line) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    std::remove(path.c_str());
    return false;
  }
  char head[kVersionLineMax];
  const size_t n = std::fread(head, 1, sizeof head, file.get());
  file.reset();
  std::remove(path.c_str());
  line = VersionLine(std::string_view(head, n));
  return true;
}

bool IsInstallable(const std::string& path, UpdatePlatform& platform) {
  const std::unique_ptr<MappedFile> file = platform.MapFile(path);
  const std::unique_ptr<MappedFile> own = platform.MapOwnProgram();
  return file && own &&
         IsBrandedClient(file->data(), file->size(), own->data(), own->size(),
                         platform.Traits().imageFormat);
}

// Writes the script into the program's folder; its path, or "" when it cannot be written.
// It goes through a download file: created new and named when whole, so a link planted under
// the script's name is replaced, never written through.
std::string WriteScript(const std::string& directory, const std::string& downloaded,
                        UpdatePlatform& platform) {
  const PortTraits traits = platform.Traits();
  const std::string programPath = platform.ProgramPath();
  if (directory.empty() || programPath.empty()) return std::string();
  const std::string path = directory + traits.pathSeparator + traits.scriptFileName;
  const std::string text =
      traits.imageFormat == ImageFormat::kPe
          ? BatchScriptText(programPath, downloaded, traits.backupFileName,
                            platform.LeadBytes())
          : ShellScriptText(programPath, downloaded, traits.backupFileName);
  // Binary: the text carries its own line ends, CR LF for cmd.
  const std::unique_ptr<DownloadFile> file = platform.CreateDownloadFile(path);
  if (!file || !file->Write(reinterpret_cast<const uint8_t*>(text.data()), text.size()) ||
      !file->Commit())
    return std::string();
  return path;
}

}  // namespace

UpdateRecord MakeUpdateRecord(const ConfigRecord& config, std::string workDirectory) {
  return {config.versionUrl, config.exeUrl, config.server,
          config.version,    config.port,   std::move(workDirectory),
          UpdateKey{}};
}

UpdateRecord MakeUpdateRecord(const LauncherConfig& config, std::string workDirectory) {
  UpdateRecord record = MakeUpdateRecord(config.record(), std::move(workDirectory));
  record.updateKey = ReadUpdateKey(config);
  return record;
}

int32_t RunUpdateCheck(const UpdateRecord& record, UpdatePlatform& platform,
                       const StopSignal& stop) {
  // Both temporary files carry the tick count as signed decimal, so they do not collide with
  // the names they will take.
  const std::string tick = std::to_string(static_cast<int32_t>(platform.TickCount()));
  const char separator = platform.Traits().pathSeparator;
  // Without a work directory the files would land in the file-system root.
  if (record.workDirectory.empty()) return kUpdateVersionDownloadFailed;
  const std::string prefix = record.workDirectory + separator + tick;

  const DownloadFileCreator create = [&platform](const std::string& path) {
    return platform.CreateDownloadFile(path);
  };
  const std::string versionFile = prefix + FileNameFromUrl(record.versionPath);
  DownloadLimits versionLimits;
  versionLimits.maxBytes = kVersionFileReadMax;
  versionLimits.over = DownloadLimits::Over::kKeepHead;
  if (!Download(platform.Http(),
                {BuildUrl(record.server, record.port, record.versionPath), versionFile}, &stop,
                create, versionLimits))
    return kUpdateVersionDownloadFailed;
  std::string line;
  if (!ReadVersionLine(versionFile, line)) return kUpdateVersionFileUnreadable;
  const Version published = ParseVersion(line);
  if (!IsNewerVersion(published, ParseVersion(record.localVersion))) return kUpdateUpToDate;
  // A package that asks for signed updates with a key that cannot be read installs none.
  if (record.updateKey.required && !record.updateKey.key) return kUpdateExeDownloadFailed;

  const std::string exeFile = prefix + FileNameFromUrl(record.exePath);
  const std::string exeUrl = BuildUrl(record.server, record.port, record.exePath);
  DownloadLimits exeLimits;
  exeLimits.maxBytes = kProgramDownloadMax;
  exeLimits.freeSpace = [&platform](const std::string& path) { return platform.FreeSpace(path); };
  if (!Download(platform.Http(), {exeUrl, exeFile}, &stop, create, exeLimits))
    return kUpdateExeDownloadFailed;
  // Only an authentic client this port can start may take the program's place; once the user
  // has quit, nothing is installed.
  if (stop.stopped() || !IsInstallable(exeFile, platform) ||
      !IsAuthenticUpdate(record.updateKey, published, exeUrl, exeFile, platform, stop) ||
      !platform.PrepareExecutable(exeFile)) {
    std::remove(exeFile.c_str());
    return kUpdateExeDownloadFailed;
  }

  // The downloaded program stays when no script can be written.
  const std::string script = WriteScript(record.workDirectory, exeFile, platform);
  if (script.empty()) return kUpdateScriptNotCreated;
  platform.StartScript(script);
  platform.EndProcess();
  return kUpdateScriptStarted;
}

}  // namespace mc
