// The XDG desktop entry that stands for a desktop shortcut on Linux: the text we write, and the
// program an entry's Exec command starts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mc {

// A launcher entry that starts `program` with no arguments. A path with "%" is started
// through /bin/sh (see the source), as GIO would not find it as the command's first word.
std::string DesktopEntryText(std::string_view name, std::string_view program);

// The program (first word of Exec, unquoted, or the program the /bin/sh form above starts) of
// the [Desktop Entry] group; nullopt when the text has no such group or key, or the command is
// malformed.
std::optional<std::string> DesktopEntryProgram(std::string_view text);

}  // namespace mc
