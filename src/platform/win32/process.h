// Facts about the running process.
#pragma once

#include <string>

namespace mc::win32 {

// The program's own file (GetModuleFileName); empty when it does not fit MAX_PATH.
std::string ProgramPath();
// Empty when it does not fit MAX_PATH.
std::string CurrentDirectory();

}  // namespace mc::win32
