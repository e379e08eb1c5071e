#include "platform/win32/ansi_text.h"

namespace mc::win32 {

std::wstring WideFromAnsi(std::string_view ansi) {
  if (ansi.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                    nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return wide;
}

std::string AnsiFromWide(const wchar_t* wide, size_t length) {
  if (!wide || length == 0) return std::string();
  const int n = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), nullptr, 0,
                                    nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string ansi(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), ansi.data(), n, nullptr,
                      nullptr);
  return ansi;
}

}  // namespace mc::win32
