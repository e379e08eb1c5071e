#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/text_resolution.h"
#include "game/tray_icon.h"

namespace mc {
namespace {

TEST(TrayMenu, OnlyAClickOnTheItemRunsTheCloseCommand) {
  ConfigRecord config;
  config.notifyCloseTitle = "quit";
  const TrayIconSetup setup = TrayIconFor(config);
  EXPECT_EQ(TrayMenuCommand(setup, kTrayMenuItemId, "clicked"), setup.closeItem.id);
  EXPECT_EQ(setup.closeItem.id, kCommandCancel);
  for (const auto& [id, event] : std::vector<std::pair<int32_t, std::string>>{
           {kTrayMenuItemId, "hovered"}, {kTrayMenuItemId, "opened"}, {kTrayMenuItemId, ""},
           {kTrayMenuRootId, "clicked"}, {2, "clicked"}, {-1, "clicked"}})
    EXPECT_EQ(TrayMenuCommand(setup, id, event), std::nullopt) << id << " " << event;
}

TEST(TrayMenu, LabelsKeepUnderscoresLiteral) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"quit", "quit"}, {"_", "__"}, {"a_b__c", "a__b____c"}, {"", ""},
      {"\xe9\x80\x80\xe5\x87\xba_", "\xe9\x80\x80\xe5\x87\xba__"}};  // UTF-8 "退出_"
  for (const auto& [text, label] : cases) EXPECT_EQ(TrayMenuLabel(text), label) << text;
}

TEST(StatusIconPixels, NetworkOrderArgbFromRgbAndRgba) {
  // Two rows of two pixels, each row padded by three bytes.
  const std::vector<uint8_t> rgba = {1, 2, 3, 4,     5, 6, 7, 8,     0, 0, 0,
                                     9, 10, 11, 255, 12, 13, 14, 0,  0, 0, 0};
  EXPECT_EQ(StatusIconPixels(rgba.data(), 2, 2, 11, 4),
            (std::vector<uint8_t>{4, 1, 2, 3, 8, 5, 6, 7, 255, 9, 10, 11, 0, 12, 13, 14}));
  const std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(StatusIconPixels(rgb.data(), 2, 1, 6, 3),
            (std::vector<uint8_t>{255, 1, 2, 3, 255, 4, 5, 6}));
  // Sizes and layouts that describe no picture give none.
  EXPECT_TRUE(StatusIconPixels(rgba.data(), 0, 2, 11, 4).empty());
  EXPECT_TRUE(StatusIconPixels(rgba.data(), 2, -1, 11, 4).empty());
  EXPECT_TRUE(StatusIconPixels(rgba.data(), 3, 2, 11, 4).empty());  // rows too short
  EXPECT_TRUE(StatusIconPixels(rgba.data(), 2, 2, 11, 2).empty());
  EXPECT_TRUE(StatusIconPixels(nullptr, 2, 2, 11, 4).empty());
}

TEST(PageZoomForTextResolution, UndoesTheScreensTextScale) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::pair<double, double>> cases = {
      {96, 1.0},  {120, 0.8},  {144, 96.0 / 144}, {192, 0.5}, {72, 96.0 / 72},
      {-1, 1.0},  {0, 1.0},    {23.9, 1.0},       {961, 1.0}, {nan, 1.0}, {inf, 1.0}};
  for (const auto& [dpi, zoom] : cases) EXPECT_DOUBLE_EQ(PageZoomForTextResolution(dpi), zoom) << dpi;
  // The zoom times the browser's own scale is exactly the skin's size.
  EXPECT_DOUBLE_EQ(PageZoomForTextResolution(144) * (144 / kSkinTextDpi), 1.0);
}

}  // namespace
}  // namespace mc
