// The game window's own pointer handling for ports that run it themselves: border sizing,
// sizing cursor names and double-click detection.
#include <gtest/gtest.h>

#include <climits>

#include "game/border_sizing.h"
#include "game/double_click.h"

namespace mc {
namespace {

constexpr GameRect kWindow{100, 50, 900, 650};

TEST(BorderSizing, EachEdgeMovesItsOwnSides) {
  struct Case {
    int edge;
    GameRect grown;   // pointer moved 10 right, 20 down
    GameRect shrunk;  // pointer moved 10 left, 20 up
  } const cases[] = {
      {1, {110, 50, 900, 650}, {90, 50, 900, 650}},    // left
      {2, {100, 50, 910, 650}, {100, 50, 890, 650}},   // right
      {3, {100, 70, 900, 650}, {100, 30, 900, 650}},   // top
      {4, {110, 70, 900, 650}, {90, 30, 900, 650}},    // top-left
      {5, {100, 70, 910, 650}, {100, 30, 890, 650}},   // top-right
      {6, {100, 50, 900, 670}, {100, 50, 900, 630}},   // bottom
      {7, {110, 50, 900, 670}, {90, 50, 900, 630}},    // bottom-left
      {8, {100, 50, 910, 670}, {100, 50, 890, 630}},   // bottom-right
      {0, kWindow, kWindow},                           // not an edge
      {9, kWindow, kWindow},
      {-1, kWindow, kWindow},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SizedRect(kWindow, c.edge, 10, 20), c.grown) << c.edge;
    EXPECT_EQ(SizedRect(kWindow, c.edge, -10, -20), c.shrunk) << c.edge;
    // The loop gives the same from a press anywhere, by the travel from that press.
    BorderSizing loop;
    loop.Begin(c.edge, kWindow, {-5, 7});
    EXPECT_EQ(loop.Track({5, 27}), c.grown) << c.edge;
    EXPECT_EQ(loop.Track({-15, -13}), c.shrunk) << c.edge;
  }
}

TEST(BorderSizing, SidesSaturateInsteadOfOverflowing) {
  const GameRect edgeOfRange{INT_MIN + 5, 0, INT_MAX - 5, 10};
  EXPECT_EQ(SizedRect(edgeOfRange, 7, -100, 0), (GameRect{INT_MIN, 0, INT_MAX - 5, 10}));
  EXPECT_EQ(SizedRect(edgeOfRange, 2, 100, 0), (GameRect{INT_MIN + 5, 0, INT_MAX, 10}));
  // Travel wider than int range counts as the widest int travel.
  BorderSizing loop;
  loop.Begin(8, kWindow, {INT_MIN, INT_MAX});
  EXPECT_EQ(loop.Track({INT_MAX, INT_MIN}), (GameRect{100, 50, INT_MAX, INT_MIN + 650}));
}

TEST(BorderSizing, TracksOnlyBetweenBeginAndEnd) {
  BorderSizing loop;
  EXPECT_FALSE(loop.active());
  EXPECT_EQ(loop.Track({10, 10}), std::nullopt);
  loop.Begin(2, kWindow, {900, 300});
  EXPECT_TRUE(loop.active());
  // Every move is measured from the press, not from the previous move.
  EXPECT_EQ(loop.Track({950, 300}), (GameRect{100, 50, 950, 650}));
  EXPECT_EQ(loop.Track({920, 400}), (GameRect{100, 50, 920, 650}));
  EXPECT_EQ(loop.Track({900, 300}), kWindow);
  loop.End();
  EXPECT_FALSE(loop.active());
  EXPECT_EQ(loop.Track({950, 300}), std::nullopt);
  // A new drag starts from its own rectangle and press.
  loop.Begin(3, {0, 0, 10, 10}, {5, 0});
  EXPECT_EQ(loop.Track({6, -4}), (GameRect{0, -4, 10, 10}));
}

TEST(BorderSizing, CursorNamesOfTheSizingShapes) {
  struct Case {
    CursorShape shape;
    const char* name;
  } const cases[] = {
      {CursorShape::kArrow, "default"},          {CursorShape::kSizeWE, "ew-resize"},
      {CursorShape::kSizeNS, "ns-resize"},       {CursorShape::kSizeNWSE, "nwse-resize"},
      {CursorShape::kSizeNESW, "nesw-resize"},   {static_cast<CursorShape>(99), "default"},
  };
  for (const Case& c : cases) EXPECT_STREQ(CursorName(c.shape), c.name);
  // Each border zone's cursor has a name of its own kind.
  EXPECT_STREQ(CursorName(CursorForHitCode(static_cast<int>(HitCode::kTopLeft))), "nwse-resize");
  EXPECT_STREQ(CursorName(CursorForHitCode(static_cast<int>(HitCode::kBottomLeft))),
               "nesw-resize");
}

TEST(DoubleClick, SecondPressWithinTheLimitsOnTheSameSurface) {
  const DoubleClickLimits limits{400, 5};
  int a = 0, b = 0;  // two surfaces
  struct Case {
    const char* what;
    uint32_t first;  // the first press is on surface a at (10, 10)
    const void* surface;
    uint32_t time;
    GamePoint screen;
    bool twice;
  } const cases[] = {
      {"at the limits", 1000, &a, 1400, {15, 15}, true},
      {"at the other limits", 1000, &a, 1000, {5, 5}, true},
      {"too late", 1000, &a, 1401, {10, 10}, false},
      {"too far right", 1000, &a, 1000, {16, 10}, false},
      {"too far up", 1000, &a, 1000, {10, 4}, false},
      {"another surface", 1000, &b, 1000, {10, 10}, false},
      {"clock wrapped", 0xFFFFFF00u, &a, 100, {10, 10}, true},
      {"clock went back", 1000, &a, 999, {10, 10}, false},
  };
  for (const Case& c : cases) {
    DoubleClickTracker tracker;
    EXPECT_FALSE(tracker.Press(&a, c.first, {10, 10}, limits)) << c.what;
    EXPECT_EQ(tracker.Press(c.surface, c.time, c.screen, limits), c.twice) << c.what;
  }
}

TEST(DoubleClick, ThirdPressStartsANewClick) {
  const DoubleClickLimits limits{400, 5};
  int surface = 0;
  DoubleClickTracker tracker;
  EXPECT_FALSE(tracker.Press(&surface, 100, {0, 0}, limits));
  EXPECT_TRUE(tracker.Press(&surface, 200, {0, 0}, limits));
  EXPECT_FALSE(tracker.Press(&surface, 300, {0, 0}, limits));
  EXPECT_TRUE(tracker.Press(&surface, 400, {0, 0}, limits));
  // A press that is not a double-click becomes the first of the next one.
  EXPECT_FALSE(tracker.Press(&surface, 2000, {0, 0}, limits));
  EXPECT_FALSE(tracker.Press(&surface, 3000, {0, 0}, limits));
  EXPECT_TRUE(tracker.Press(&surface, 3100, {2, 2}, limits));
  // The desktop's own limits count: a shorter time, a wider distance.
  EXPECT_FALSE(tracker.Press(&surface, 5000, {0, 0}, {50, 20}));
  EXPECT_FALSE(tracker.Press(&surface, 5051, {0, 0}, {50, 20}));
  EXPECT_TRUE(tracker.Press(&surface, 5100, {20, -20}, {50, 20}));
}

}  // namespace
}  // namespace mc
