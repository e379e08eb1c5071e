// The program's name as its questions, its desktop shortcut and its HTTP session show it, taken
// from its own file path. Paths are GBK: a separator or dot byte that is the trail byte of a
// double-byte character is neither.
#pragma once

#include <string>
#include <string_view>

namespace mc {

// What a file name without a '.' gives: the close questions of the game window and the
// shortcut's file name take nothing, the launcher's close question and the shown names take
// the whole file name.
enum class WithoutExtension { kWholeName, kEmpty };

// The file name after the last separator, without the part from its last '.' on.
std::string ProgramBaseName(std::string_view programPath, char separator,
                            WithoutExtension withoutExtension);

// The folder holding the program: the path up to its last separator, which a root folder ("/",
// "C:\\") keeps; empty for a bare file name.
std::string ProgramFolder(std::string_view programPath, char separator);

}  // namespace mc
