#include <gtest/gtest.h>

#include <limits>

#include "game/desktop_geometry.h"

namespace mc {
namespace {

// Two monitors side by side, the second smaller and lower.
const std::vector<GameRect> kMonitors{{0, 0, 1920, 1080}, {1920, 200, 3200, 1224}};

TEST(GameDesktop, TheMonitorHoldingAWindowIsTheOneItOverlapsMostElseTheNearest) {
  struct Case {
    const char* name;
    GameRect window;
    std::optional<size_t> monitor;
  } const cases[] = {
      {"inside the first", {100, 100, 1060, 740}, 0},
      {"inside the second", {2000, 300, 2960, 940}, 1},
      {"mostly on the second", {1500, 300, 2460, 940}, 1},
      {"mostly on the first", {1400, 300, 2360, 940}, 0},
      {"straddling both equally: the first", {1440, 300, 2400, 940}, 0},
      {"right of everything: the nearest", {4000, 300, 4960, 940}, 1},
      {"above the second's top, right of the first", {2500, -700, 2600, -100}, 1},
      {"left of everything", {-5000, 500, -4000, 900}, 0},
      {"empty, on the second", {2500, 500, 2500, 500}, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(MonitorHolding(c.window, kMonitors), c.monitor) << c.name;
  EXPECT_EQ(MonitorHolding({0, 0, 10, 10}, {}), std::nullopt);
}

TEST(GameDesktop, AWindowNeverOutgrowsTheDesktopOrWhatX11Holds) {
  EXPECT_EQ(DesktopBounds(kMonitors), (GameRect{0, 0, 3200, 1224}));
  EXPECT_EQ(DesktopBounds({}), (GameRect{}));
  constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
  struct Case {
    GameRect wanted;
    GameSize largest;
    GameRect expected;
  } const cases[] = {
      {{10, 20, 970, 660}, {3200, 1224}, {10, 20, 970, 660}},
      {{0, 0, 5000, 3000}, {3200, 1224}, {0, 0, 3200, 1224}},
      {{100, 100, 100, 90}, {3200, 1224}, {100, 100, 101, 101}},  // never empty or inverted
      {{kMin, kMin, kMax, kMax}, {3200, 1224}, {-30000, -30000, -26800, -28776}},
      // A desktop that reports no monitor limits nothing but the coordinates.
      {{0, 0, 5000, 3000}, {0, 0}, {0, 0, 5000, 3000}},
      {{40000, 0, kMax, 10}, {0, 0}, {30000, 0, 60000, 10}},
  };
  for (const Case& c : cases) EXPECT_EQ(LimitWindowRect(c.wanted, c.largest), c.expected);
}

TEST(GameDesktop, AWindowLeftOffEveryMonitorComesBackIntoTheWorkArea) {
  const GameRect area{0, 0, 1920, 1040};
  struct Case {
    GameRect window;
    GameRect expected;
  } const cases[] = {
      {{2100, 100, 3060, 740}, {960, 100, 1920, 740}},    // right of it
      {{-2000, -900, -1040, -260}, {0, 0, 960, 640}},     // above and left of it
      {{300, 1500, 1260, 2140}, {300, 400, 1260, 1040}},  // below it
      {{5000, 0, 7000, 1200}, {0, 0, 2000, 1200}},        // larger than the area: its corner
  };
  for (const Case& c : cases) EXPECT_EQ(MoveIntoWorkArea(c.window, area), c.expected);
  EXPECT_EQ(MoveIntoWorkArea({100, 100, 200, 200}, {1920, 200, 3200, 1184}),
            (GameRect{1920, 200, 2020, 300}));
}

}  // namespace
}  // namespace mc
