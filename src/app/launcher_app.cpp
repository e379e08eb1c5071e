#include "app/launcher_app.h"

#include "app/desktop_shortcut.h"
#include "package/gbk.h"
#include "package/program_name.h"

namespace mc {

bool LauncherApp::RemoveUpdateLeftovers(const std::string& folder) {
  // A failed deletion is retried at the next start. Only a script removed now marks the
  // update's own start: one that cannot be removed (a folder of that name, a locked file)
  // would otherwise turn every later check off for good.
  const PortTraits traits = host_.Traits();
  bool script = false;
  for (const char* name : {traits.backupFileName, traits.scriptFileName}) {
    const std::string path = folder + traits.pathSeparator + name;
    if (!host_.FileExists(path)) continue;
    if (host_.RemoveFile(path) && name == traits.scriptFileName) script = true;
  }
  return script;
}

void LauncherApp::InitInstance() {
  if (!host_.PrepareProcess()) return;
  const std::string currentDirectory = host_.CurrentDirectory();
  // A self-update leaves the old program and its script in the program's folder; clients
  // before that left them in the current directory.
  programFolder = ProgramFolder(host_.ProgramPath(), host_.Traits().pathSeparator);
  startedByUpdate = RemoveUpdateLeftovers(currentDirectory);
  if (!programFolder.empty() && programFolder != currentDirectory)
    startedByUpdate = RemoveUpdateLeftovers(programFolder) || startedByUpdate;
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
