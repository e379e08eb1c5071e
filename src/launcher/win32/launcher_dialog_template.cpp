#include "launcher/win32/launcher_dialog_template.h"

#include <cstring>
#include <vector>

namespace mc::win32 {
namespace {

void AppendText(std::vector<WORD>& words, const wchar_t* text) {
  do words.push_back(static_cast<WORD>(*text)); while (*text++);
}

// A template as the resource compiler lays it out: header, no menu, class, empty title, font.
DialogTemplate Built(DWORD style, short cx, short cy, const wchar_t* className) {
  DLGTEMPLATE header{};
  header.style = style;
  header.cx = cx;
  header.cy = cy;
  std::vector<WORD> words(sizeof header / sizeof(WORD));
  std::memcpy(words.data(), &header, sizeof header);
  words.push_back(0);  // no menu
  AppendText(words, className);
  words.push_back(0);  // no title
  words.push_back(9);
  AppendText(words, L"\u5B8B\u4F53");
  return DialogTemplate::FromBytes(words.data(), words.size() * sizeof(WORD));
}

bool RegisterDialogClass(const char* name, HICON icon) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefDlgProcA;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = icon;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool RegisterLauncherWindowClasses() {
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
  const bool picture = RegisterDialogClass(kLauncherWindowClass, icon);
  const bool layer = RegisterDialogClass(kLauncherLayerClass, icon);
  return picture && layer;
}

DialogTemplate LauncherTemplate() {
  DialogTemplate fromResource = DialogTemplate::FromResource(kLauncherTemplateId);
  return fromResource.valid() ? std::move(fromResource)
                              : Built(kLauncherStyle, 320, 200, L"MicroClientLauncher");
}

DialogTemplate LauncherLayerTemplate() {
  DialogTemplate fromResource = DialogTemplate::FromResource(kLauncherLayerTemplateId);
  return fromResource.valid() ? std::move(fromResource)
                              : Built(kLauncherLayerStyle, 320, 200, L"MicroClientLauncherLayer");
}

}  // namespace mc::win32
