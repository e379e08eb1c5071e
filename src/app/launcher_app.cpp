#include "app/launcher_app.h"

#include "app/desktop_shortcut.h"
#include "package/gbk.h"

namespace mc {

void LauncherApp::RemoveUpdateLeftovers(const std::string& currentDirectory) {
  // A finished self-update leaves the old program and its script in the current directory
  // (not the program's folder); a failed deletion is retried at the next start.
  const PortTraits traits = host_.Traits();
  for (const char* name : {traits.backupFileName, traits.scriptFileName}) {
    const std::string path = currentDirectory + traits.pathSeparator + name;
    if (host_.FileExists(path)) host_.RemoveFile(path);
  }
}

void LauncherApp::InitInstance() {
  if (!host_.PrepareProcess()) return;
  const std::string currentDirectory = host_.CurrentDirectory();
  RemoveUpdateLeftovers(currentDirectory);
  if (!config.OpenPackage(host_)) return;
  if (!config.LoadConfigText(host_, kConfigEntry)) return;
  if (!config.ParseConfig(host_)) return;  // no links: ends silently
  // Required even when the launcher is skipped.
  if (!config.LoadBackgroundImage(host_, kBackgroundEntry, mainImage)) return;
  EnsureDesktopShortcut(host_, currentDirectory);

  std::string address;
  if (config.record().firstUrl.size() > 2) {
    address = config.record().firstUrl;
  } else {
    windows_.RunLauncher(*this);
    if (gameAddress.empty()) return;
    address = gameAddress;
  }
  windows_.RunGame(*this, CutToField(address, kGameAddressField));
}

}  // namespace mc
