#include "platform/win32/process.h"

#include <windows.h>

namespace mc::win32 {

std::string ProgramPath() {
  char buffer[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH] = {};
  const DWORD n = GetCurrentDirectoryA(MAX_PATH, buffer);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

}  // namespace mc::win32
