// The shape of a branded client's package: the entries the client reads, the names of the
// launcher's button pictures, and the type numbers the configuration gives links, title-bar
// buttons and menu items. Every layer that reads or checks a package takes them from here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mc {

inline constexpr char kConfigEntry[] = "config/cg.txt";
inline constexpr char kBackgroundEntry[] = "config/main1.png";  // the launcher's picture
inline constexpr char kSpriteEntry[] = "config/style.png";      // the game window's pictures
inline constexpr char kLogoEntry[] = "config/logo.png";         // the game window's logo
// A minisign public key: when present, only updates signed with it are installed.
inline constexpr char kUpdateKeyEntry[] = "config/update.pub";

// The normal ("config/<link>_n.png") or pressed ("config/<link>_d.png") face of the button
// made from link number `link` (1-based).
std::string LinkImageEntry(int link, bool pressed);
// The link number a button picture name was made for; 0 for any other name.
int LinkOfImageEntry(std::string_view entry);

// Appended to the address of link 5, followed by the machine code.
inline constexpr std::string_view kMachineCodeParameter = "&machinecode=";
inline constexpr size_t kMachineCodeLength = 12;

namespace link_type {
inline constexpr int32_t kLink = 1;
inline constexpr int32_t kMinimize = 2;
inline constexpr int32_t kClose = 3;
inline constexpr int32_t kHtmlArea = 4;
}  // namespace link_type

// Link types the launcher shows as buttons (with pictures); the others make no button.
constexpr bool IsButtonLinkType(int32_t type) {
  return type == link_type::kLink || type == link_type::kMinimize || type == link_type::kClose;
}

namespace button_type {
inline constexpr int32_t kLink = 1;
inline constexpr int32_t kClose = 5;
inline constexpr int32_t kMaximize = 6;  // shown in the restored state only
inline constexpr int32_t kMinimize = 7;
inline constexpr int32_t kHide = 8;           // hides the window to the tray
inline constexpr int32_t kRestore = 10;       // shown in the maximised state only
inline constexpr int32_t kSettings = 11;      // opens the settings menu below itself
inline constexpr int32_t kRechargeLink = 12;  // a link the page may replace
}  // namespace button_type

namespace menu_type {
inline constexpr int32_t kRestart = 1;
inline constexpr int32_t kCleanCache = 2;
inline constexpr int32_t kFullScreen = 3;
inline constexpr int32_t kVersion = 4;  // shows the version, does nothing
}  // namespace menu_type

}  // namespace mc
