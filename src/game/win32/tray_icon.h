// The notification-area icon of the hidden game window, through Shell_NotifyIconA: one record,
// filled when the icon is added and used again to remove it.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>

#include "game/tray_icon.h"

namespace mc::win32 {

// The record's size up to and including dwInfoFlags: what every shell since the one that
// brought balloon tips understands.
inline constexpr DWORD kNotifyIconRecordSize = 488;

// The record for the window's icon: id, callback message, icon and the tooltip (at most 64
// bytes, the rest of the field zero).
NOTIFYICONDATAA TrayIconRecord(HWND window, HICON icon, const TrayIconSetup& setup);

class TrayIcon {
 public:
  // Adds the icon (again, if it is there already); false when the shell refused it.
  bool Add(HWND window, HICON icon, const TrayIconSetup& setup);
  // Adds the icon added last once more, for a shell that restarted with an empty notification
  // area; false when there is no such icon or the shell refused it.
  bool Restore();
  // Removes the icon added last; nothing when there is none.
  void Remove();

 private:
  NOTIFYICONDATAA record_ = {};
  bool added_ = false;
};

}  // namespace mc::win32
