// The notification-area icon that stands for the game window while it is hidden, and what a
// click on it does. The icon exists exactly while the window is hidden: it is added when the
// window hides, and removed when the window shows again or ends, so the window can always be
// found again and no icon outlives it.
#pragma once

#include <string>

#include "game/title_buttons.h"
#include "package/config_record.h"

namespace mc {

inline constexpr unsigned kTrayIconId = 128;
inline constexpr unsigned kTrayCallbackMessage = 0x0400 + 1001;  // WM_USER + 1001
inline constexpr size_t kTrayTipBytes = 64;

// Mouse messages the icon reports, with the system's numbers.
inline constexpr unsigned kTrayLeftButtonUp = 0x0202;
inline constexpr unsigned kTrayLeftDoubleClick = 0x0203;
inline constexpr unsigned kTrayRightButtonUp = 0x0205;

struct TrayIconSetup {
  unsigned id = kTrayIconId;
  unsigned callbackMessage = kTrayCallbackMessage;
  std::string tip;     // GBK, at most kTrayTipBytes bytes
  MenuItem closeItem;  // the menu's only item: Cancel, which asks the close question
};

TrayIconSetup TrayIconFor(const ConfigRecord& config);

enum class TrayAction {
  kNotOurs,     // another icon's message: answered 1, nothing done
  kNone,        // moves and button downs
  kShowWindow,  // left click or double-click: the window comes back in its previous state
  kShowMenu,    // right click: the one-item menu at the pointer
};

TrayAction TrayActionFor(unsigned iconId, unsigned mouseMessage);

}  // namespace mc
