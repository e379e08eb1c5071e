// Reading a picture entry of the appended package, shared by both ports' image loaders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/app_host.h"
#include "package/launcher_config.h"

namespace mc {

// The bytes of the entry with exactly this name. A missing entry is reported to the user with
// the start-up failure message ("reading the image failed") and gives false; entries that
// exist but do not decode are left to the decoder, which shows nothing.
bool ReadPackageImage(const LauncherConfig& config, AppHost& host, const std::string& name,
                      std::vector<uint8_t>& png);

}  // namespace mc
