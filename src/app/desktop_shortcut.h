// Keeps a shortcut to the program on the user's desktop. Nothing here is reported to the
// user and nothing here can stop start-up.
#pragma once

#include <string>
#include <string_view>

#include "app/app_host.h"

namespace mc {

// At most this many shortcut files are examined by one search.
inline constexpr int kMaxShortcutsExamined = 1001;

// The program file name without its folder and without its last extension; multibyte-aware,
// so a GBK trail byte equal to the separator or "." is not taken for one.
std::string ShortcutBaseName(std::string_view programPath, char separator);

bool FindShortcutTo(AppHost& host, const std::string& programPath, const std::string& desktop);
void EnsureDesktopShortcut(AppHost& host, const std::string& currentDirectory);

}  // namespace mc
