#include "update/signed_update.h"

#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "base/package_layout.h"
#include "package/launcher_config.h"
#include "update/client_image.h"
#include "update/download.h"
#include "update/minisign_verify.h"
#include "update/update_check.h"

namespace mc {
namespace {

std::string_view Text(const MappedFile& file) {
  return {reinterpret_cast<const char*>(file.data()), file.size()};
}

// Removes a file when it goes out of scope; declared before any view of the file, so the view
// is released first (Windows keeps a mapped file).
class RemovedAtExit {
 public:
  explicit RemovedAtExit(std::string path) : path_(std::move(path)) {}
  ~RemovedAtExit() { std::remove(path_.c_str()); }
  RemovedAtExit(const RemovedAtExit&) = delete;
  RemovedAtExit& operator=(const RemovedAtExit&) = delete;

 private:
  std::string path_;
};

}  // namespace

UpdateKey ReadUpdateKey(const LauncherConfig& config) {
  UpdateKey key;
  key.required = config.HasPackageEntry(kUpdateKeyEntry);
  std::vector<uint8_t> bytes;
  if (key.required && config.ReadPackageEntry(kUpdateKeyEntry, bytes))
    key.key = ParseMinisignKey({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  return key;
}

bool IsAuthenticUpdate(const UpdateKey& key, const Version& announced,
                       const std::string& programUrl, const std::string& programFile,
                       UpdatePlatform& platform, const StopSignal& stop) {
  if (!key.required) return true;
  if (!key.key) return false;

  const std::string signatureFile = programFile + ".minisig";
  const DownloadFileCreator create = [&platform](const std::string& path) {
    return platform.CreateDownloadFile(path);
  };
  DownloadLimits limits;
  limits.maxBytes = kSignatureFileMax;
  if (!Download(platform.Http(), {programUrl + ".minisig", signatureFile}, &stop, create, limits))
    return false;
  const RemovedAtExit removeSignature(signatureFile);
  std::optional<MinisignSignature> signature;
  if (const std::unique_ptr<MappedFile> text = platform.MapFile(signatureFile))
    signature = ParseMinisignSignature(Text(*text));

  const std::unique_ptr<MappedFile> program = platform.MapFile(programFile);
  if (!signature || !program ||
      !VerifyMinisign(*key.key, *signature, program->data(), program->size()))
    return false;
  // Only now is the program's own package worth reading: it is the operator's.
  const std::optional<std::string> version = ConfiguredClientVersion(
      program->data(), program->size(), platform.Traits().imageFormat);
  if (!version) return false;
  const Version configured = ParseVersion(*version);
  return configured.major == announced.major && configured.minor == announced.minor;
}

}  // namespace mc
