// The application object: owns the configuration, the launcher background and the captured
// game address, and runs the start-up sequence that shows the program's windows in turn.
#pragma once

#include <memory>
#include <string>

#include "base/app_host.h"
#include "base/package_layout.h"
#include "package/launcher_config.h"

namespace mc {

// The game window keeps its address in a 256-byte field.
inline constexpr size_t kGameAddressField = 256;

class LauncherApp;

// The port's windows, shown in turn by the start-up sequence.
class AppWindows {
 public:
  virtual ~AppWindows() = default;
  // The launcher runs modally and may set app.gameAddress.
  virtual void RunLauncher(LauncherApp& app) = 0;
  // The game window runs modally on the address it is given.
  virtual void RunGame(LauncherApp& app, const std::string& address) = 0;
};

class LauncherApp {
 public:
  LauncherApp(AppHost& host, AppWindows& windows) : host_(host), windows_(windows) {}

  // The whole life of the program. Returns when the last window has closed or start-up stopped.
  void InitInstance();

  AppHost& host() { return host_; }
  LauncherConfig config;
  std::unique_ptr<BackgroundImage> mainImage;
  std::string gameAddress;
  // This start was made by a self-update's script (its script was there and is removed now):
  // the launcher runs no update check this time, so an update that could not be installed is
  // downloaded at most once per start by the player.
  bool startedByUpdate = false;
  // The program's own folder: where an update downloads, renames and restarts, whatever the
  // current directory is.
  std::string programFolder;

 private:
  // True when an update script was among them.
  bool RemoveUpdateLeftovers(const std::string& folder);

  AppHost& host_;
  AppWindows& windows_;
};

}  // namespace mc
