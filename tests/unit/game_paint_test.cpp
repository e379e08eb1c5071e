#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/edge_pieces.h"
#include "game/frame_layout.h"
#include "game/title_paint.h"

namespace mc {
namespace {

using P = EdgePiece;

// The sample deployment's frame pictures, numbered 1 to 8 here.
ConfigRecord FrameConfig() {
  ConfigRecord config;
  config.gamePics = {{0, 74, 6, 27, 0}, {8, 74, 58, 27, 0}, {68, 74, 6, 27, 0}, {76, 74, 3, 2, 0},
                     {81, 74, 3, 2, 0}, {86, 74, 4, 5, 0},  {92, 74, 2, 3, 0},  {96, 74, 4, 5, 0}};
  config.edgeImages = {1, 2, 3, 4, 5, 6, 7, 8};
  return config;
}

EdgePieces CutAll(const ConfigRecord& config) {
  EdgePieces edges;
  for (EdgePiece piece : kAllEdgePieces) edges.Set(piece, EdgePieceSource(config, piece), true);
  return edges;
}

struct Dest {
  EdgePiece edge;
  SpriteCut dest;
  bool operator==(const Dest&) const = default;
};

std::vector<Dest> Dests(const std::vector<EdgeBlit>& blits) {
  std::vector<Dest> dests;
  for (const EdgeBlit& blit : blits) dests.push_back({blit.edge, blit.dest});
  return dests;
}

TEST(GamePaint, EdgeImageNumbersThatNameNoPictureLeaveThePieceOut) {
  ConfigRecord config;
  config.gamePics = {{1, 2, 3, 4, 0}, {5, 6, -7, 40000, 0}};
  config.edgeImages = {1, 2, 0, 3, -1, 2147483647, 1, 1};
  EXPECT_EQ(EdgePieceSource(config, P::kTopLeft), (SpriteCut{1, 2, 3, 4}));
  // Sizes are clamped: nothing negative, nothing a bitmap could never have.
  EXPECT_EQ(EdgePieceSource(config, P::kTop), (SpriteCut{5, 6, 0, kMaxPieceSide}));
  EXPECT_FALSE(IsCuttable(*EdgePieceSource(config, P::kTop)));
  for (EdgePiece piece : {P::kTopRight, P::kLeft, P::kRight, P::kBottomLeft})
    EXPECT_EQ(EdgePieceSource(config, piece), std::nullopt) << static_cast<int>(piece);

  EdgePieces edges;
  edges.Set(P::kLeft, std::nullopt, true);
  EXPECT_EQ(edges.W(P::kLeft), 0);
  EXPECT_FALSE(edges.HasBitmap(P::kLeft));
}

TEST(GamePaint, RestoredFrameDrawsEveryPieceAroundTheWindow) {
  const ConfigRecord config = FrameConfig();
  const std::vector<EdgeBlit> blits = PlanEdgeBlits(CutAll(config), {200, 150}, false, false);
  const std::vector<Dest> expected = {
      {P::kTopLeft, {0, 0, 6, 27}},        {P::kTopRight, {194, 0, 6, 27}},
      {P::kTop, {6, 0, 188, 27}},          {P::kLeft, {0, 27, 3, 118}},
      {P::kRight, {197, 27, 3, 118}},      {P::kBottomLeft, {0, 145, 4, 5}},
      {P::kBottomRight, {196, 145, 4, 5}}, {P::kBottom, {4, 147, 192, 3}},
  };
  EXPECT_EQ(Dests(blits), expected);
  // Every copy takes its whole piece, which is that picture's rectangle of the sprite.
  for (const EdgeBlit& blit : blits) {
    const GamePicEntry& pic = config.gamePics[static_cast<size_t>(blit.edge) - 1];
    EXPECT_EQ(blit.sprite, (SpriteCut{pic.x, pic.y, pic.width, pic.height}));
    EXPECT_EQ(blit.piece, (SpriteCut{0, 0, pic.width, pic.height}));
  }
}

TEST(GamePaint, MaximisedDrawsOnlyTheTitleBandAndFullScreenNothing) {
  const EdgePieces edges = CutAll(FrameConfig());
  EXPECT_EQ(Dests(PlanEdgeBlits(edges, {1920, 1040}, true, false)),
            (std::vector<Dest>{{P::kTop, {0, 0, 1920, 27}}}));
  EXPECT_TRUE(PlanEdgeBlits(edges, {1920, 1080}, false, true).empty());
  EXPECT_TRUE(PlanEdgeBlits(edges, {1920, 1080}, true, true).empty());
}

TEST(GamePaint, MissingBitmapsAndEmptyDestinationsAreSkipped) {
  const ConfigRecord config = FrameConfig();
  EdgePieces edges = CutAll(config);
  edges.Set(P::kTopLeft, EdgePieceSource(config, P::kTopLeft), false);
  // A window narrower than its two top corners: the band would be drawn mirrored.
  const std::vector<Dest> dests = Dests(PlanEdgeBlits(edges, {10, 150}, false, false));
  const auto has = [&](EdgePiece piece) {
    for (const Dest& d : dests)
      if (d.edge == piece) return true;
    return false;
  };
  EXPECT_FALSE(has(P::kTopLeft));
  EXPECT_FALSE(has(P::kTop));
  // The missing corner still takes its place: the left side starts below it.
  EXPECT_TRUE(std::count(dests.begin(), dests.end(), Dest{P::kLeft, {0, 27, 3, 118}}));
  EXPECT_TRUE(std::count(dests.begin(), dests.end(), Dest{P::kBottom, {4, 147, 2, 3}}));
}

TEST(GamePaint, IconIsCentredWithHalvesRoundedUp) {
  EXPECT_EQ(IconPosition({100, 80}, {32, 32}), (GamePoint{34, 24}));
  EXPECT_EQ(IconPosition({101, 81}, {32, 32}), (GamePoint{35, 25}));
  EXPECT_EQ(IconPosition({20, 20}, {32, 32}), (GamePoint{-5, -5}));
}

TEST(GameLayout, ChildrenFollowTheWindowState) {
  const EdgePieces edges = CutAll(FrameConfig());
  const std::vector<ButtonAnchor> buttons = {{{-28, 0}, {28, 22}}, {{-161, 3}, {46, 21}}};
  struct Case {
    const char* name;
    GameSize window;
    bool maximized, fullScreen;
    GameRect browser;
    std::vector<GameRect> buttons;
  } const cases[] = {
      {"restored",
       {1000, 700},
       false,
       false,
       {3, 27, 997, 697},
       {{969, 0, 997, 22}, {836, 3, 882, 24}}},
      {"maximised",
       {1920, 1040},
       true,
       false,
       {0, 27, 1920, 1040},
       {{1892, 0, 1920, 22}, {1759, 3, 1805, 24}}},
      {"full screen",
       {1920, 1080},
       true,
       true,
       {0, 0, 1920, 1080},
       {{1892, 0, 1920, 22}, {1759, 3, 1805, 24}}},
      {"too small", {5, 10}, false, false, {3, 27, 3, 27}, {{-26, 0, 2, 22}, {-159, 3, -113, 24}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ChildLayout layout =
        ComputeChildLayout(c.window, c.maximized, c.fullScreen, edges, buttons);
    EXPECT_EQ(layout.browser, c.browser);
    EXPECT_EQ(layout.buttons, c.buttons);
  }
  EXPECT_EQ(InitialBrowserRect({1920, 1040}, edges), (GameRect{3, 27, 1917, 1037}));
  EXPECT_EQ(LogoRect({8, 3}, {20, 21}), (GameRect{8, 3, 28, 24}));
}

}  // namespace
}  // namespace mc
