#include "preview/preview_scene.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "preview/preview_marks.h"

namespace mc {

std::ostream& operator<<(std::ostream& out, const GameRect& r) {
  return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

std::ostream& operator<<(std::ostream& out, const PreviewMark& m) {
  out << (m.window == PreviewWindow::kLauncher ? "launcher " : "game ") << m.rect
      << (m.absent ? " absent" : "") << (m.titleText ? " title" : "") << " problems";
  for (size_t n : m.problems) out << ' ' << n;
  return out;
}

namespace {

// Package pictures by name; anything not listed is missing.
class FakePictures : public PreviewPictures {
 public:
  std::map<std::string, GameSize> sizes = {
      {"config/main1.png", {400, 300}}, {"config/style.png", {100, 100}},
      {"config/logo.png", {20, 10}},    {"config/1_n.png", {50, 30}},
      {"config/1_d.png", {50, 30}},     {"config/3_n.png", {40, 20}},
      {"config/3_d.png", {40, 20}}};
  std::optional<GameSize> PictureSize(const std::string& name) override {
    const auto it = sizes.find(name);
    if (it == sizes.end()) return std::nullopt;
    return it->second;
  }
  bool CutEdgePiece(EdgePiece, const SpriteCut&) override { return true; }
};

// Links: 1 a button, 2 an html area, 3 a close button. Pictures: 1 a 20 x 10 button, 2 a
// 4 x 24 edge piece used for every side. Buttons: close (picture 1, 30 from the right),
// maximise and restore (picture 1, 60 from the right).
ConfigRecord Config() {
  ConfigRecord c;
  c.links = {{"http://a/", 10, 20, 999, 999, 1},
             {"http://b/", 300, 250, 200, 100, 4},
             {"", 380, 5, 0, 0, 3}};
  c.gamePics = {{0, 0, 20, 10, 2}, {30, 0, 4, 24, 0}};
  c.edgeImages.fill(2);
  c.gameButtons = {{-30, 2, button_type::kClose, 1, 0, 0, "", "", ""},
                   {-60, 2, button_type::kMaximize, 1, 0, 0, "", "", ""},
                   {-60, 2, button_type::kRestore, 1, 0, 0, "", "", ""}};
  c.minGameWidth = 600;
  c.minGameHeight = 400;
  c.title = "T";
  c.titlex = 40;
  c.titley = 6;
  c.logx = 5;
  c.logy = 4;
  return c;
}

TEST(PreviewScene, LauncherControlsAreBuiltAsTheOverlayBuildsThem) {
  const ConfigRecord config = Config();
  {
    FakePictures pictures;
    const LauncherScene scene = ComposeLauncherScene(config, pictures);
    EXPECT_EQ(scene.size, (GameSize{400, 300}));
    ASSERT_EQ(scene.buttons.size(), 2u);
    // A button is as large as its normal picture, whatever its record says.
    EXPECT_EQ(scene.buttons[0].rect, (GameRect{10, 20, 60, 50}));
    EXPECT_TRUE(scene.buttons[0].faces);
    // Both are cut to the picture.
    EXPECT_EQ(scene.buttons[1].rect, (GameRect{380, 5, 400, 25}));
    ASSERT_EQ(scene.areas.size(), 1u);
    EXPECT_EQ(scene.areas[0].rect, (GameRect{300, 250, 400, 300}));
  }
  {
    FakePictures pictures;  // pressed picture of link 1 missing: it stays, without faces
    pictures.sizes.erase("config/1_d.png");
    const LauncherScene scene = ComposeLauncherScene(config, pictures);
    ASSERT_EQ(scene.buttons.size(), 1u);
    EXPECT_FALSE(scene.buttons[0].faces);
    EXPECT_TRUE(scene.areas.empty());  // the building stopped there
  }
}

TEST(PreviewScene, GameWindowTakesTheWindowsOwnLayoutInEachState) {
  const ConfigRecord config = Config();
  FakePictures pictures;
  struct Case {
    const char* what;
    std::optional<GameSize> size;
    PreviewState state;
    GameSize window;
    bool maximizeShown;
    GameRect close;
    GameRect browser;
  } const cases[] = {
      // Maximised: buttons from the very edge, the browser below the title band.
      {"maximised",
       GameSize{800, 500},
       PreviewState::kMaximized,
       {800, 500},
       false,
       {770, 2, 790, 12},
       {0, 24, 800, 500}},
      // Restored: the client's restore size; buttons inside the right border.
      {"restored",
       std::nullopt,
       PreviewState::kRestored,
       {600, 400},
       true,
       {566, 2, 586, 12},
       {4, 24, 596, 376}},
      {"restored and sized",
       GameSize{700, 450},
       PreviewState::kRestored,
       {700, 450},
       true,
       {666, 2, 686, 12},
       {4, 24, 696, 426}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const GameScene scene = ComposeGameScene(config, c.size, c.state, pictures);
    EXPECT_EQ(scene.stop, GameInitStop::kNone);
    EXPECT_EQ(scene.size, c.window);
    ASSERT_EQ(scene.buttons.size(), 3u);
    EXPECT_EQ(scene.buttons[0].rect, c.close);
    EXPECT_EQ(scene.buttons[1].visible, c.maximizeShown);
    EXPECT_EQ(scene.buttons[2].visible, !c.maximizeShown);
    EXPECT_EQ(scene.buttons[1].rect, scene.buttons[2].rect);
    EXPECT_EQ(scene.browser, c.browser);
    EXPECT_EQ(scene.logo, (GameRect{5, 4, 25, 14}));
    ASSERT_TRUE(scene.paint.title);
    EXPECT_EQ(scene.paint.title->position, (GamePoint{40, 6}));
    EXPECT_EQ(scene.paint.blits.size(), c.state == PreviewState::kMaximized ? 1u : 8u);
  }
}

TEST(PreviewMarks, MarkTheElementEachProblemIsAbout) {
  ConfigRecord config = Config();
  config.gameButtons[0].image = 7;  // no such picture: the close button is not made
  FakePictures pictures;
  pictures.sizes.erase("config/3_n.png");  // the close link is not made
  const LauncherScene launcher = ComposeLauncherScene(config, pictures);
  const GameScene game =
      ComposeGameScene(config, GameSize{800, 500}, PreviewState::kMaximized, pictures);
  const auto problem = [](std::string file, std::string section, std::string key) {
    PackageProblem p;
    p.file = std::move(file);
    p.section = std::move(section);
    p.key = std::move(key);
    return p;
  };
  const std::vector<PackageProblem> problems = {
      problem("config/cg.txt", "link3", "type"),         // 1
      problem("config/cg.txt", "gamebutton1", "image"),  // 2
      problem("config/cg.txt", "gamePic1", ""),          // 3: maximise and restore buttons
      problem("config/cg.txt", "global", "linkCount"),   // 4: no element
      problem("config/logo.png", "", ""),                // 5
      problem("config/1_n.png", "", ""),                 // 6
      problem("config/cg.txt", "global", "edgeImage4"),  // 7: not drawn when maximised
      problem("config/cg.txt", "gamebutton2", "tips"),   // 8: same button as 3
  };
  const std::vector<PreviewMark> marks = MarkProblems(problems, config, launcher, game);
  using W = PreviewWindow;
  const std::vector<PreviewMark> expected = {
      // At the link's configured place, as a missing picture's box (no size configured).
      {W::kLauncher, {380, 5, 396, 21}, true, false, {1}},
      // Where the window would have put it: 30 from the right edge.
      {W::kGame, {770, 2, 786, 18}, true, false, {2}},
      // The hidden maximise button and the shown restore button share their place.
      {W::kGame, {740, 2, 760, 12}, true, false, {3, 8}},
      {W::kGame, {740, 2, 760, 12}, false, false, {3}},
      {W::kGame, {5, 4, 25, 14}, false, false, {5}},
      {W::kLauncher, {10, 20, 60, 50}, false, false, {6}},
      {W::kGame, {0, 0, kAbsentEdgeThickness, 500}, true, false, {7}},
  };
  EXPECT_EQ(marks, expected);
}

TEST(PreviewMarks, MarksStayOnTheirWindow) {
  ConfigRecord config = Config();
  config.links[0].x = -500;  // the link button lies left of the picture
  config.links[0].width = 0;
  config.links[0].height = 0;
  config.titlex = 5000;
  FakePictures pictures;
  pictures.sizes.erase("config/1_n.png");
  PackageProblem link, title;
  link.section = "link1";
  title.section = "global";
  title.key = "title";
  const LauncherScene launcher = ComposeLauncherScene(config, pictures);
  const GameScene game =
      ComposeGameScene(config, GameSize{800, 500}, PreviewState::kMaximized, pictures);
  const std::vector<PreviewMark> marks = MarkProblems({link, title}, config, launcher, game);
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(marks[0].rect, (GameRect{0, 20, 16, 36}));
  EXPECT_EQ(marks[1].rect, (GameRect{784, 6, 800, 22}));
  EXPECT_TRUE(marks[1].titleText);
}

}  // namespace
}  // namespace mc
