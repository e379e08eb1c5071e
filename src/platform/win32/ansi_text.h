// Text between the system code page (GBK on the target machines: every text of the core) and
// UTF-16 (COM, the shell's file names). Characters the code page lacks become '?'.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <string_view>

namespace mc::win32 {

std::wstring WideFromAnsi(std::string_view ansi);
std::string AnsiFromWide(const wchar_t* wide, size_t length);

}  // namespace mc::win32
