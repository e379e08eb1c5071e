// The game window's title-bar buttons, settings menu and function keys: what the
// configuration's gameButtons and menus lists turn into, and which window operation each
// button, menu item and key runs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/package_layout.h"
#include "game/game_geometry.h"
#include "package/config_record.h"

namespace mc {

// Control and command identifiers of the game window.
inline constexpr int kCommandOk = 1;
inline constexpr int kCommandCancel = 2;
inline constexpr int kBrowserControlId = 170;
inline constexpr int kButtonCommandBase = 180;  // + button type
inline constexpr int kLogoControlId = 300;
inline constexpr int kMenuCommandBase = 2034;  // + menu type

// The window operations that buttons, menu items, function keys and the double-click on the
// title band run.
enum class GameCommand {
  kNone,
  kConfirmClose,
  kMaximize,
  kMinimize,
  kHideToTray,
  kRestore,
  kShowSettingsMenu,
  kConfirmRestart,
  kConfirmCleanCache,
  kToggleFullScreen,
};

// Command ids of a button or menu type (saturated: a type is any 32-bit number).
int ButtonCommandId(int32_t type);
int MenuCommandId(int32_t type);

// What a command id received by the window runs: OK, Cancel and the close button ask the
// close question; the window buttons and the restart, cache and full-screen items run their
// operation. Link buttons open their link themselves; every other id runs nothing.
GameCommand CommandForId(int id);

// A title-bar button to be made, from the gameButtons entry at entryIndex.
struct TitleButtonSetup {
  size_t entryIndex = 0;  // the button's index tag
  int32_t type = 0;       // the button's type tag
  int commandId = 0;
  std::string caption;
  GamePoint offset;  // configured x (negative: from the right edge) and y
  GameSize size;     // the picture's size
  // Normal, down (pressed) and over (hover) faces, stacked downwards in the sprite.
  std::array<SpriteCut, 3> faces;
  // Link buttons only: the configured address, handed to the button's link as configured.
  std::optional<std::string> link;
  std::string tip;  // empty: no tooltip
  int32_t captionColor = 0;
};

// The three state faces of a button picture: its rectangle, then the same size
// (height + interval) and twice that further down.
std::array<SpriteCut, 3> ButtonFaceCuts(const GamePicEntry& picture);

// One setup per gameButtons entry whose picture exists, in configuration order.
std::vector<TitleButtonSetup> TitleButtonSetups(const ConfigRecord& config);

// Entry n - 1 holds the operation of function key Fn. Filled from the configuration entries
// (also those whose button was not made) in a fixed order, later bindings winning: close,
// hide, settings, minimise, maximise, restore buttons, then the cache, restart and
// full-screen menu items. A shortCut outside 1..12 binds nothing.
inline constexpr int kFunctionKeyCount = 12;
using FunctionKeyTable = std::array<GameCommand, kFunctionKeyCount>;
FunctionKeyTable BindFunctionKeys(const ConfigRecord& config);

// An item of a popup menu: its command id and its text (GBK).
struct MenuItem {
  int id = 0;
  std::string text;
  bool operator==(const MenuItem&) const = default;
};

// The version item's text holds title and version run together, at most this field's size
// less one byte.
inline constexpr size_t kMenuTextField = 64;

// The settings menu, one item per menus entry in order.
std::vector<MenuItem> SettingsMenuItems(const ConfigRecord& config);

// Where the settings menu opens: just below the settings button's left corner.
GamePoint SettingsMenuAnchor(const GameRect& buttonOnScreen);

}  // namespace mc
