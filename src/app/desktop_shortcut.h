// Keeps a shortcut to the program on the user's desktop. Nothing here is reported to the
// user and nothing here can stop start-up.
#pragma once

#include <string>

#include "base/app_host.h"

namespace mc {

// At most this many shortcut files are examined by one search.
inline constexpr int kMaxShortcutsExamined = 1001;

bool FindShortcutTo(AppHost& host, const std::string& programPath, const std::string& desktop);
void EnsureDesktopShortcut(AppHost& host, const std::string& currentDirectory);

}  // namespace mc
