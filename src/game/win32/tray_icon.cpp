#include "game/win32/tray_icon.h"

#include <algorithm>
#include <cstring>

namespace mc::win32 {

static_assert(kNotifyIconRecordSize <= sizeof(NOTIFYICONDATAA));

NOTIFYICONDATAA TrayIconRecord(HWND window, HICON icon, const TrayIconSetup& setup) {
  NOTIFYICONDATAA record = {};
  record.cbSize = kNotifyIconRecordSize;
  record.hWnd = window;
  record.uID = setup.id;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = setup.callbackMessage;
  record.hIcon = icon;
  const size_t n = std::min(setup.tip.size(), std::min(kTrayTipBytes, sizeof record.szTip - 1));
  std::memcpy(record.szTip, setup.tip.data(), n);
  return record;
}

bool TrayIcon::Add(HWND window, HICON icon, const TrayIconSetup& setup) {
  record_ = TrayIconRecord(window, icon, setup);
  if (!Shell_NotifyIconA(NIM_ADD, &record_)) return added_;
  added_ = true;
  return true;
}

bool TrayIcon::Restore() {
  return added_ && Shell_NotifyIconA(NIM_ADD, &record_);
}

void TrayIcon::Remove() {
  if (!added_) return;
  Shell_NotifyIconA(NIM_DELETE, &record_);
  added_ = false;
}

}  // namespace mc::win32
