// The launcher's two dialog templates (resources 129 and 102) and the window classes they name.
// Each is a dialog class of our own, so the launcher's windows are told apart from message
// boxes and found by name.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "platform/win32/window_base.h"

namespace mc::win32 {

inline constexpr int kLauncherTemplateId = 129;
inline constexpr int kLauncherLayerTemplateId = 102;
inline constexpr char kLauncherWindowClass[] = "MicroClientLauncher";
inline constexpr char kLauncherLayerClass[] = "MicroClientLauncherLayer";
// The picture: WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME |
// DS_SETFONT. The caption only enters the centring; it is removed when the window is made.
inline constexpr DWORD kLauncherStyle = 0x80CA00C0;
// The layer: WS_POPUP | WS_VISIBLE | WS_SYSMENU | DS_SETFONT, no controls.
inline constexpr DWORD kLauncherLayerStyle = 0x90080040;

// Registers both classes once per process; true when they exist.
bool RegisterLauncherWindowClasses();

// Templates 129 and 102 of the program; a program without them gets the same built in memory.
DialogTemplate LauncherTemplate();
DialogTemplate LauncherLayerTemplate();

}  // namespace mc::win32
