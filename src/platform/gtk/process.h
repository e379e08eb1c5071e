// Facts about the running process.
#pragma once

#include <string>

namespace mc::gtk {

// The program's own file, as /proc/self/exe names it; empty when it cannot be read.
std::string ProgramPath();
// Empty when it cannot be read.
std::string CurrentDirectory();

// /proc/self/exe still opens the running image after a self-update has renamed it.
inline constexpr char kOwnImagePath[] = "/proc/self/exe";

}  // namespace mc::gtk
