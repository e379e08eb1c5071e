#include "game/title_buttons.h"

#include <algorithm>

#include "game/edge_pieces.h"
#include "package/gbk.h"

namespace mc {

namespace {

// Bindings in the order they are applied; a later one overwrites an earlier one's key.
struct Binding {
  bool fromMenus;
  int32_t type;
  GameCommand command;
};
constexpr Binding kBindings[] = {
    {false, button_type::kClose, GameCommand::kConfirmClose},
    {false, button_type::kHide, GameCommand::kHideToTray},
    {false, button_type::kSettings, GameCommand::kShowSettingsMenu},
    {false, button_type::kMinimize, GameCommand::kMinimize},
    {false, button_type::kMaximize, GameCommand::kMaximize},
    {false, button_type::kRestore, GameCommand::kRestore},
    {true, menu_type::kCleanCache, GameCommand::kConfirmCleanCache},
    {true, menu_type::kRestart, GameCommand::kConfirmRestart},
    {true, menu_type::kFullScreen, GameCommand::kToggleFullScreen},
};

void Bind(FunctionKeyTable& keys, int32_t shortCut, GameCommand command) {
  if (shortCut >= 1 && shortCut <= kFunctionKeyCount)
    keys[static_cast<size_t>(shortCut) - 1] = command;
}

}  // namespace

int ButtonCommandId(int32_t type) { return SaturatedAdd(kButtonCommandBase, type); }
int MenuCommandId(int32_t type) { return SaturatedAdd(kMenuCommandBase, type); }

GameCommand CommandForId(int id) {
  switch (id) {
    case kCommandOk:
    case kCommandCancel:
    case kButtonCommandBase + button_type::kClose:
      return GameCommand::kConfirmClose;
    case kButtonCommandBase + button_type::kMaximize:
      return GameCommand::kMaximize;
    case kButtonCommandBase + button_type::kMinimize:
      return GameCommand::kMinimize;
    case kButtonCommandBase + button_type::kHide:
      return GameCommand::kHideToTray;
    case kButtonCommandBase + button_type::kRestore:
      return GameCommand::kRestore;
    case kButtonCommandBase + button_type::kSettings:
      return GameCommand::kShowSettingsMenu;
    case kMenuCommandBase + menu_type::kRestart:
      return GameCommand::kConfirmRestart;
    case kMenuCommandBase + menu_type::kCleanCache:
      return GameCommand::kConfirmCleanCache;
    case kMenuCommandBase + menu_type::kFullScreen:
      return GameCommand::kToggleFullScreen;
    default:
      return GameCommand::kNone;
  }
}

std::array<SpriteCut, 3> ButtonFaceCuts(const GamePicEntry& picture) {
  const int width = std::clamp(picture.width, 0, kMaxPieceSide);
  const int height = std::clamp(picture.height, 0, kMaxPieceSide);
  const int64_t step = int64_t{height} + picture.interval;
  std::array<SpriteCut, 3> faces;
  for (int i = 0; i < 3; ++i)
    faces[static_cast<size_t>(i)] = {picture.x, SaturateInt(picture.y + i * step), width, height};
  return faces;
}

std::vector<TitleButtonSetup> TitleButtonSetups(const ConfigRecord& config) {
  std::vector<TitleButtonSetup> setups;
  for (size_t i = 0; i < config.gameButtons.size(); ++i) {
    const GameButtonEntry& entry = config.gameButtons[i];
    const GamePicEntry* picture = PictureByNumber(config, entry.image);
    if (!picture) continue;
    TitleButtonSetup setup;
    setup.entryIndex = i;
    setup.type = entry.type;
    setup.commandId = ButtonCommandId(entry.type);
    setup.caption = entry.title;
    setup.offset = {entry.x, entry.y};
    setup.faces = ButtonFaceCuts(*picture);
    setup.size = {setup.faces[0].width, setup.faces[0].height};
    if (entry.type == button_type::kLink || entry.type == button_type::kRechargeLink)
      setup.link = entry.url;
    setup.tip = entry.tips;
    setup.captionColor = entry.color;
    setups.push_back(std::move(setup));
  }
  return setups;
}

FunctionKeyTable BindFunctionKeys(const ConfigRecord& config) {
  FunctionKeyTable keys;
  keys.fill(GameCommand::kNone);
  for (const Binding& binding : kBindings) {
    if (binding.fromMenus) {
      for (const MenuEntry& menu : config.menus)
        if (menu.type == binding.type) Bind(keys, menu.shortCut, binding.command);
    } else {
      for (const GameButtonEntry& button : config.gameButtons)
        if (button.type == binding.type) Bind(keys, button.shortCut, binding.command);
    }
  }
  return keys;
}

std::vector<MenuItem> SettingsMenuItems(const ConfigRecord& config) {
  std::vector<MenuItem> items;
  items.reserve(config.menus.size());
  for (const MenuEntry& menu : config.menus) {
    std::string text = menu.title;
    if (menu.type == menu_type::kVersion) text = CutToField(text + config.version, kMenuTextField);
    items.push_back({MenuCommandId(menu.type), std::move(text)});
  }
  return items;
}

GamePoint SettingsMenuAnchor(const GameRect& buttonOnScreen) {
  return {buttonOnScreen.left, SaturatedAdd(buttonOnScreen.bottom, 1)};
}

}  // namespace mc
