#include "skin/package_image.h"

#include "base/messages.h"

namespace mc {

bool ReadPackageImage(const LauncherConfig& config, AppHost& host, const std::string& name,
                      std::vector<uint8_t>& png) {
  if (config.ReadPackageEntry(name, png)) return true;
  host.ShowMessage(text::kStartupFailedTitle, text::kReadImageFailed);
  return false;
}

}  // namespace mc
