#include "game/win32/game_dialog_template.h"

#include <cstring>
#include <vector>

namespace mc::win32 {
namespace {

void AppendText(std::vector<WORD>& words, const wchar_t* text) {
  do words.push_back(static_cast<WORD>(*text)); while (*text++);
}

// Template 107 as the resource compiler lays it out: the header, no menu, the class name, an
// empty title, then the font (9 points, "宋体") that DS_SETFONT announces.
std::vector<WORD> BuiltTemplate() {
  DLGTEMPLATE header{};
  header.style = kGameDialogStyle;
  header.cx = 270;
  header.cy = 188;
  std::vector<WORD> words(sizeof header / sizeof(WORD));
  std::memcpy(words.data(), &header, sizeof header);
  words.push_back(0);  // no menu
  AppendText(words, L"MicroClientGame");
  words.push_back(0);  // no title
  words.push_back(9);
  AppendText(words, L"\u5B8B\u4F53");
  return words;
}

}  // namespace

bool RegisterGameWindowClass(HICON icon) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefDlgProcA;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = icon;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kGameWindowClass;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

DialogTemplate GameDialogTemplate() {
  DialogTemplate fromResource = DialogTemplate::FromResource(kGameDialogTemplateId);
  if (fromResource.valid()) return fromResource;
  const std::vector<WORD> words = BuiltTemplate();
  return DialogTemplate::FromBytes(words.data(), words.size() * sizeof(WORD));
}

}  // namespace mc::win32
