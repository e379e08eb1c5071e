#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

#include "game/title_buttons.h"
#include "package/gbk.h"

namespace mc {
namespace {

GameButtonEntry Button(int32_t type, int32_t image, int32_t shortCut = 0, std::string url = {}) {
  GameButtonEntry entry;
  entry.type = type;
  entry.image = image;
  entry.shortCut = shortCut;
  entry.url = std::move(url);
  return entry;
}

TEST(GameButtons, SpecsSkipMissingPicturesAndStackTheirFaces) {
  ConfigRecord config;
  config.gamePics = {{0, 0, 28, 22, 2}, {30, 0, 28, 22, 2}, {150, 4, 46, 21, 3}};
  config.gameButtons = {
      Button(5, 1),
      Button(10, 0),  // no picture 0
      Button(1, 3, 0, "http://127.0.0.1/?view=home;from=game"),
      Button(12, 4, 0, "http://127.0.0.1/pay"),  // only three pictures
      Button(2, 2, 0, "http://127.0.0.1/unused"),
  };
  config.gameButtons[0].x = -28;
  config.gameButtons[0].tips = "\xb9\xd8\xb1\xd5";  // GBK
  config.gameButtons[2].title = "\xb9\xd9\xcd\xf8";
  config.gameButtons[2].color = 9018;

  const std::vector<TitleButtonSetup> setups = TitleButtonSetups(config);
  ASSERT_EQ(setups.size(), 3u);
  EXPECT_EQ(setups[0].entryIndex, 0u);
  EXPECT_EQ(setups[0].commandId, 185);
  EXPECT_EQ(setups[0].offset, (GamePoint{-28, 0}));
  EXPECT_EQ(setups[0].size, (GameSize{28, 22}));
  EXPECT_EQ(setups[0].tip, config.gameButtons[0].tips);
  EXPECT_EQ(setups[0].link, std::nullopt);

  // Faces are the picture and the same size (height + interval) and twice that below it.
  EXPECT_EQ(setups[1].entryIndex, 2u);
  EXPECT_EQ(setups[1].faces, (std::array<SpriteCut, 3>{
                                 SpriteCut{150, 4, 46, 21}, {150, 28, 46, 21}, {150, 52, 46, 21}}));
  EXPECT_EQ(setups[1].caption, config.gameButtons[2].title);
  EXPECT_EQ(setups[1].captionColor, 9018);
  EXPECT_EQ(setups[1].link, config.gameButtons[2].url);  // ';' is the button's own business

  // Only types 1 and 12 are links.
  EXPECT_EQ(setups[2].entryIndex, 4u);
  EXPECT_EQ(setups[2].commandId, 182);
  EXPECT_EQ(setups[2].link, std::nullopt);
}

TEST(GameButtons, FaceCutsNeverOverflow) {
  const GamePicEntry huge{0, std::numeric_limits<int32_t>::max() - 10, 5, 5,
                          std::numeric_limits<int32_t>::max()};
  const std::array<SpriteCut, 3> faces = ButtonFaceCuts(huge);
  EXPECT_EQ(faces[1].y, std::numeric_limits<int>::max());
  EXPECT_EQ(faces[2].y, std::numeric_limits<int>::max());
  EXPECT_EQ(ButtonCommandId(std::numeric_limits<int32_t>::max()), std::numeric_limits<int>::max());
}

TEST(GameButtons, CommandIdsRunTheirOperations) {
  const std::map<int, GameCommand> expected = {
      {1, GameCommand::kConfirmClose},        {2, GameCommand::kConfirmClose},
      {185, GameCommand::kConfirmClose},      {186, GameCommand::kMaximize},
      {187, GameCommand::kMinimize},          {188, GameCommand::kHideToTray},
      {190, GameCommand::kRestore},           {191, GameCommand::kShowSettingsMenu},
      {2035, GameCommand::kConfirmRestart},   {2036, GameCommand::kConfirmCleanCache},
      {2037, GameCommand::kToggleFullScreen},
  };
  for (int id = -1; id < 2100; ++id) {
    const auto it = expected.find(id);
    EXPECT_EQ(CommandForId(id), it == expected.end() ? GameCommand::kNone : it->second) << id;
  }
}

TEST(GameButtons, FunctionKeysBindInOrderWithMenusLast) {
  using C = GameCommand;
  struct Case {
    const char* name;
    std::vector<std::pair<int32_t, int32_t>> buttons;  // type, shortCut
    std::vector<std::pair<int32_t, int32_t>> menus;
    std::map<int, C> keys;  // function key number -> operation; all others unbound
  } const cases[] = {
      {"out of range binds nothing", {{5, 0}, {8, 13}, {7, -1}}, {{1, 99}}, {}},
      {"ends of the range", {{5, 1}, {7, 12}}, {}, {{1, C::kConfirmClose}, {12, C::kMinimize}}},
      {"menu item beats button", {{8, 5}}, {{1, 5}}, {{5, C::kConfirmRestart}}},
      {"binding order, not list order",
       {{8, 2}, {5, 2}, {6, 3}, {7, 3}, {10, 4}, {6, 4}, {11, 6}, {8, 6}},
       {},
       {{2, C::kHideToTray}, {3, C::kMaximize}, {4, C::kRestore}, {6, C::kShowSettingsMenu}}},
      {"menu order",
       {},
       {{3, 6}, {1, 6}, {2, 6}, {1, 7}, {2, 7}},
       {{6, C::kToggleFullScreen}, {7, C::kConfirmRestart}}},
      {"links and version are not bindable", {{1, 1}, {12, 2}, {2, 3}}, {{4, 4}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConfigRecord config;
    for (auto [type, key] : c.buttons) config.gameButtons.push_back(Button(type, 0, key));
    for (auto [type, key] : c.menus) config.menus.push_back({"", type, key});
    const FunctionKeyTable keys = BindFunctionKeys(config);
    for (int n = 1; n <= kFunctionKeyCount; ++n) {
      const auto it = c.keys.find(n);
      EXPECT_EQ(keys[static_cast<size_t>(n) - 1], it == c.keys.end() ? C::kNone : it->second)
          << "F" << n;
    }
  }
}

TEST(GameButtons, SettingsMenuShowsTheVersionAfterItsTitle) {
  ConfigRecord config;
  config.version = "1.30";
  config.menus = {{"\xcb\xa2\xd0\xc2(F5)", 1, 5},
                  {"\xc7\xe5\xc0\xed", 2, 0},
                  {"\xb0\xe6\xb1\xbe\xba\xc5", 4, 0},
                  {"x", 9, 0}};
  EXPECT_EQ(SettingsMenuItems(config), (std::vector<MenuItem>{{2035, "\xcb\xa2\xd0\xc2(F5)"},
                                                              {2036, "\xc7\xe5\xc0\xed"},
                                                              {2038,
                                                               "\xb0\xe6\xb1\xbe\xba\xc5"
                                                               "1.30"},
                                                              {2043, "x"}}));
  EXPECT_EQ(SettingsMenuAnchor({500, 10, 546, 31}), (GamePoint{500, 32}));

  // Title and version that do not fit the item's 64 bytes together are cut, never split
  // inside a character.
  std::string title = "a";
  std::string version = "v";
  for (int i = 0; i < 15; ++i) title += "\xb0\xe6";
  for (int i = 0; i < 31; ++i) version += "\xb1\xbe";
  config.menus = {{title, 4, 0}};
  config.version = version;
  const std::string text = SettingsMenuItems(config)[0].text;
  EXPECT_EQ(text.size(), 62u);
  EXPECT_EQ(text.substr(0, title.size()), title);
  EXPECT_TRUE(IsValidGbk(text));
}

}  // namespace
}  // namespace mc
