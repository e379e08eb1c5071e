// The script that replaces the running program with a downloaded version: it waits about a
// second for the program to end, moves the program aside under the backup name, gives the
// download the program's file name and starts the program's path again. Windows runs it as a
// batch file through cmd, Linux through /bin/sh.
#pragma once

#include <string>
#include <string_view>

#include "package/gbk.h"

namespace mc {

// Tells whether a byte starts a double-byte character of the system code page.
using LeadBytePredicate = bool (*)(unsigned char);

// Every single-byte "\" doubled; a trail byte 0x5C (as in many GBK characters) belongs to its
// character and stays single.
std::string DoubleBackslashes(std::string_view text, LeadBytePredicate isLead = IsGbkLeadByte);

// The batch file, CR LF line ends:
//   @ping 127.0.0.1 -n 2 -w 1000 > nul
//   rename "P" "<backup>"
//   rename  "D" "F"
//   "P"
// P = program path, D = downloaded file, F = P's file name, with backslashes doubled. A "%"
// is written "%%", the one character a batch file would otherwise expand inside quotes. Paths
// are in the system code page, whose lead bytes isLead tells (GBK on the target machines).
std::string BatchScriptText(std::string_view programPath, std::string_view downloadedPath,
                            std::string_view backupName, LeadBytePredicate isLead = IsGbkLeadByte);

// The same four steps for /bin/sh with LF line ends; each path single-quoted, so spaces,
// quotes, "$", backticks and backslashes are taken literally. The backup goes beside the
// program, the download keeps its own folder and takes the program's file name; when that
// rename fails the backup takes the program's place again, so the program path always starts
// a program.
std::string ShellScriptText(std::string_view programPath, std::string_view downloadedPath,
                            std::string_view backupName);

}  // namespace mc
