// Signed updates. A package that carries a minisign public key (config/update.pub) installs
// only programs signed with its secret half: plain HTTP cannot be trusted, so the program
// file itself must prove where it comes from. The signature is published beside the program
// as "<program's address>.minisig". A signed client whose own configured version is not the
// one the version file announced is refused too, so an older signed build cannot be replayed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "package/minisign_files.h"
#include "update/version_file.h"

namespace mc {

class LauncherConfig;
class StopSignal;
class UpdatePlatform;

struct UpdateKey {
  bool required = false;          // the package carries config/update.pub
  std::optional<MinisignKey> key;  // its key; nullopt when it does not parse: nothing installs
};

// The key of the running program's package (config/update.pub).
UpdateKey ReadUpdateKey(const LauncherConfig& config);

// The signature file is small: four lines, the longest the trusted comment (minisign writes
// up to 8 KiB of it).
inline constexpr int64_t kSignatureFileMax = 16 * 1024;

// Whether the program downloaded from `programUrl` into `programFile` may be installed. True
// without a required key. Otherwise the signature is fetched into programFile + ".minisig"
// (deleted again whatever happens) and must verify with the key, and the program's configured
// version must read as `announced`.
bool IsAuthenticUpdate(const UpdateKey& key, const Version& announced,
                       const std::string& programUrl, const std::string& programFile,
                       UpdatePlatform& platform, const StopSignal& stop);

}  // namespace mc
