#include <gtest/gtest.h>

#include <limits>

#include "game/frame_geometry.h"

namespace mc {
namespace {

// Pieces shaped like the sample deployment's: 6 x 27 top corners, a 27-pixel title band,
// 3-pixel sides, 4 x 5 bottom corners and a 3-pixel bottom.
EdgePieces SampleEdges() {
  EdgePieces edges;
  const auto set = [&](EdgePiece piece, int w, int h) {
    edges.Set(piece, SpriteCut{0, 0, w, h}, true);
  };
  set(EdgePiece::kTopLeft, 6, 27);
  set(EdgePiece::kTop, 58, 27);
  set(EdgePiece::kTopRight, 6, 27);
  set(EdgePiece::kLeft, 3, 2);
  set(EdgePiece::kRight, 3, 2);
  set(EdgePiece::kBottomLeft, 4, 5);
  set(EdgePiece::kBottom, 2, 3);
  set(EdgePiece::kBottomRight, 4, 5);
  return edges;
}

TEST(GameFrame, HitTestGivesBorderZonesOnlyWhenRestored) {
  const EdgePieces edges = SampleEdges();
  const GameRect window{100, 50, 1060, 690};
  struct Case {
    GamePoint p;
    HitCode restored;
  } const cases[] = {
      {{100, 50}, HitCode::kTopLeft},
      {{106, 77}, HitCode::kTopLeft},  // both limits inclusive
      {{107, 60}, HitCode::kClient},   // top edge between the corners: no HTTOP
      {{500, 50}, HitCode::kClient},
      {{1054, 77}, HitCode::kTopRight},
      {{1057, 78}, HitCode::kRight},  // below the corner: the side
      {{104, 685}, HitCode::kBottomLeft},
      {{105, 688}, HitCode::kBottom},  // past the corner's width, within the bottom
      {{1056, 690}, HitCode::kBottomRight},
      {{103, 400}, HitCode::kLeft},
      {{104, 400}, HitCode::kClient},
      {{1057, 400}, HitCode::kRight},
      {{600, 687}, HitCode::kBottom},
      {{600, 686}, HitCode::kClient},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
    EXPECT_EQ(FrameHitTest(c.p, window, edges, false, false), c.restored);
    EXPECT_EQ(FrameHitTest(c.p, window, edges, true, false), HitCode::kClient);
    EXPECT_EQ(FrameHitTest(c.p, window, edges, false, true), HitCode::kClient);
  }
}

TEST(GameFrame, CursorAndSizingEdgeFollowTheHitCode) {
  struct Case {
    int hit;
    CursorShape cursor;
    int edge;
  } const cases[] = {
      {10, CursorShape::kSizeWE, 1},   {11, CursorShape::kSizeWE, 2},
      {12, CursorShape::kSizeNS, 3},   {13, CursorShape::kSizeNWSE, 4},
      {14, CursorShape::kSizeNESW, 5}, {15, CursorShape::kSizeNS, 6},
      {16, CursorShape::kSizeNESW, 7}, {17, CursorShape::kSizeNWSE, 8},
      {1, CursorShape::kArrow, 0},     {2, CursorShape::kArrow, 0},  // caption
      {0, CursorShape::kArrow, 0},     {-2, CursorShape::kArrow, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CursorForHitCode(c.hit), c.cursor) << c.hit;
    EXPECT_EQ(SizingEdgeForHitCode(c.hit), c.edge) << c.hit;
  }
}

TEST(GameFrame, RestoreRectIsCentredInAnOriginBasedBox) {
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  struct Case {
    GameRect workArea;
    int32_t width, height;
    GameRect expected;
  } const cases[] = {
      {{0, 0, 1920, 1040}, 960, 640, {480, 200, 1440, 840}},
      // The work area's own left and top are not added.
      {{200, 40, 2120, 1080}, 960, 640, {480, 200, 1440, 840}},
      {{0, 0, 1921, 1041}, 960, 640, {480, 200, 1440, 840}},
      // Larger than the work area: starts at 0, keeps the configured size.
      {{0, 0, 800, 500}, 960, 640, {0, 0, 960, 640}},
      {{0, 0, 800, 700}, 960, 640, {0, 30, 960, 670}},
      // Nonsense sizes give an empty rectangle, never an inverted or overflowing one.
      {{0, 0, 800, 600}, -100, kMin, {400, 300, 400, 300}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(InitialRestoreRect(c.workArea, c.width, c.height), c.expected);
}

TEST(GameFrame, MinimumSizeIsCappedByTheWorkAreaAndClampsSizing) {
  EXPECT_EQ(MinTrackSize({0, 0, 1920, 1040}, 960, 640), (GameSize{960, 640}));
  EXPECT_EQ(MinTrackSize({0, 0, 800, 500}, 960, 640), (GameSize{800, 500}));
  EXPECT_EQ(MinTrackSize({0, 0, 800, 500}, -5, 0), (GameSize{0, 0}));

  // Dragging the left border inward past the minimum moves the right border outward.
  GameRect left{700, 100, 1200, 740};
  ClampSizingRect(left, {960, 640});
  EXPECT_EQ(left, (GameRect{700, 100, 1660, 740}));
  // Dragging the top border down past the minimum moves the bottom border down.
  GameRect top{100, 300, 1060, 740};
  ClampSizingRect(top, {960, 640});
  EXPECT_EQ(top, (GameRect{100, 300, 1060, 940}));
  GameRect large{0, 0, 1200, 800};
  ClampSizingRect(large, {960, 640});
  EXPECT_EQ(large, (GameRect{0, 0, 1200, 800}));
}

TEST(GameFrame, FullScreenRectMakesTheClientAreaTheMonitor) {
  // A frameless window: window and client coincide.
  EXPECT_EQ(FullScreenRect({100, 50, 1060, 690}, {100, 50, 1060, 690}, {0, 0, 1920, 1080}),
            (GameRect{0, 0, 1920, 1080}));
  // With a frame, the frame lies outside the monitor.
  EXPECT_EQ(FullScreenRect({10, 20, 110, 220}, {14, 40, 106, 216}, {0, 0, 1024, 768}),
            (GameRect{-4, -20, 1028, 772}));
  // A monitor right of the first.
  EXPECT_EQ(FullScreenRect({2000, 50, 2960, 690}, {2000, 50, 2960, 690}, {1920, 0, 3200, 1024}),
            (GameRect{1920, 0, 3200, 1024}));
}

TEST(GameFrame, TitleDragKeepsTheGrabPoint) {
  TitleDrag drag;
  const GameRect window{100, 100, 1060, 740};
  // Moving without the button remembers the point.
  EXPECT_FALSE(drag.MouseMove({50, 10}, false, true, 27, window));
  EXPECT_EQ(drag.lastMousePos(), (GamePoint{50, 10}));
  // Held: the window follows by the distance from the grab point, which stays put.
  EXPECT_EQ(drag.MouseMove({62, 15}, true, true, 27, window), (GameRect{112, 105, 1072, 745}));
  EXPECT_EQ(drag.lastMousePos(), (GamePoint{50, 10}));
  // Once the window has followed, the pointer is at the grab point again: no move.
  EXPECT_FALSE(drag.MouseMove({50, 10}, true, true, 27, {112, 105, 1072, 745}));

  // Below the band, not draggable (maximised or full screen), or other buttons held: the
  // move is not a drag and becomes the new grab point.
  const struct {
    GamePoint p;
    bool leftOnly, draggable;
  } notDrags[] = {{{70, 27}, true, true}, {{80, 5}, true, false}, {{90, 5}, false, true}};
  for (const auto& c : notDrags) {
    EXPECT_FALSE(drag.MouseMove(c.p, c.leftOnly, c.draggable, 27, window));
    EXPECT_EQ(drag.lastMousePos(), c.p);
  }
}

}  // namespace
}  // namespace mc
