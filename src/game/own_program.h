// The command line that restarts the program from its own file path.
#pragma once

#include <string>
#include <string_view>

namespace mc {

// The command line that starts the program again: the path in double quotes, so that a path
// with spaces ("C:\Program Files\...") cannot be taken for a shorter program path first.
std::string RestartCommandLine(std::string_view programPath);

}  // namespace mc
