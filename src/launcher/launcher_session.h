// What the launcher windows work with: the configuration and the services they read, and the
// place a captured game address goes for the game window that follows.
#pragma once

#include <string>

#include "base/app_host.h"
#include "package/launcher_config.h"

namespace mc {

struct LauncherSession {
  const LauncherConfig& config;
  AppHost& host;
  std::string& gameAddress;
};

}  // namespace mc
