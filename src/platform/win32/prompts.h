// The Windows port's message boxes.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>

namespace mc::win32 {

// A question with OK and Cancel, Cancel preselected, no icon, kept above every window.
inline constexpr UINT kQuestionStyle = MB_OKCANCEL | MB_DEFBUTTON2 | MB_SYSTEMMODAL | MB_TASKMODAL;
static_assert(kQuestionStyle == 0x3101);

// A plain box with no owner, OK only, no icon.
inline void ShowMessage(const std::string& title, const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK);
}

// True for OK.
inline bool AskOkCancel(HWND owner, const std::string& text, const std::string& caption) {
  return MessageBoxA(owner, text.c_str(), caption.c_str(), kQuestionStyle) == IDOK;
}

}  // namespace mc::win32
