// The notification-area icon that stands for the game window while it is hidden, and what a
// click on it does. The icon exists exactly while the window is hidden: it is added when the
// window hides, and removed when the window shows again or ends, so the window can always be
// found again and no icon outlives it. Where no notification area can take the icon, the
// window is minimised instead of hidden, and a hidden window whose notification area goes away
// comes back minimised: either way the taskbar still reaches it.
//
// Desktops show the icon in one of two ways: the Windows shell and X11 trays take a native
// icon that reports mouse messages; StatusNotifierItem hosts (D-Bus) show a picture, a title
// and a menu of their own drawing, and report activation and the chosen menu item. The second
// kind is described here too: its pixels, its one menu item and what choosing it does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// A menu drawn by the notification area: the root (id 0) holds the one item, id 1.
inline constexpr int32_t kTrayMenuRootId = 0;
inline constexpr int32_t kTrayMenuItemId = 1;

// The item's label (UTF-8) as such menus take it: '_' marks the next character as the access
// key, so a literal '_' is doubled.
std::string TrayMenuLabel(std::string_view text);

// The command that a menu event on `itemId` runs: the close item's command for a click on the
// item, nothing for any other event or item.
std::optional<int> TrayMenuCommand(const TrayIconSetup& setup, int32_t itemId,
                                   std::string_view eventId);

// An icon picture as StatusNotifierItem carries it: 32-bit ARGB words in network byte order
// (A, R, G, B bytes), row after row, straight alpha. `pixels` holds `height` rows `stride`
// bytes apart of `channels` bytes a pixel (3: R, G, B, opaque; 4: R, G, B, A). Empty for a size
// of no pixels, an unknown channel count or rows too short for the width.
std::vector<uint8_t> StatusIconPixels(const uint8_t* pixels, int width, int height,
                                      size_t stride, int channels);

}  // namespace mc
