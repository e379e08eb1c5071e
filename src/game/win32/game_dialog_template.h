// The game window's dialog template (resource 107) and the window class it names. The class is
// a dialog class of our own, so that the game window is told apart from message boxes and can
// be found by its name; it takes double clicks, which the title band toggles the state with.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "platform/win32/window_base.h"

namespace mc::win32 {

inline constexpr int kGameDialogTemplateId = 107;
inline constexpr char kGameWindowClass[] = "MicroClientGame";
// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | DS_SETFONT.
inline constexpr DWORD kGameDialogStyle = 0x96000040;

// Registers the class once per process; true when it exists.
bool RegisterGameWindowClass(HICON icon);

// Template 107 of the program; a program without it (a test program) gets the same template
// built in memory.
DialogTemplate GameDialogTemplate();

}  // namespace mc::win32
