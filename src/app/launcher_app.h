// The application object: owns the configuration, the launcher background and the captured
// game address, and runs the start-up sequence that shows the program's windows in turn.
#pragma once

#include <memory>
#include <string>

#include "app/app_host.h"
#include "package/launcher_config.h"

namespace mc {

inline constexpr char kConfigEntry[] = "config/cg.txt";
inline constexpr char kBackgroundEntry[] = "config/main1.png";
// The game window keeps its address in a 256-byte field.
inline constexpr size_t kGameAddressField = 256;

class LauncherApp {
 public:
  explicit LauncherApp(AppHost& host) : host_(host) {}

  // The whole life of the program. Returns when the last window has closed or start-up stopped.
  void InitInstance();

  AppHost& host() { return host_; }
  LauncherConfig config;
  std::unique_ptr<BackgroundImage> mainImage;
  std::string gameAddress;

 private:
  void RemoveUpdateLeftovers(const std::string& currentDirectory);

  AppHost& host_;
};

}  // namespace mc
