// What the game window takes from the program's own file path: the caption of its close and
// restart questions, and the command line that starts the program again.
#pragma once

#include <string>
#include <string_view>

namespace mc {

// The file name without folder and without its extension (from the last '.' on). A name
// without a '.' gives an empty caption. Paths are GBK: a separator byte inside a double-byte
// character is not a separator.
std::string QuestionCaption(std::string_view programPath, char pathSeparator);

// The command line that starts the program again: the path in double quotes, so that a path
// with spaces ("C:\Program Files\...") cannot be taken for a shorter program path first.
std::string RestartCommandLine(std::string_view programPath);

}  // namespace mc
