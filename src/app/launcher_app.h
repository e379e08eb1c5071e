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

 private:
  void RemoveUpdateLeftovers(const std::string& currentDirectory);

  AppHost& host_;
  AppWindows& windows_;
};

}  // namespace mc
