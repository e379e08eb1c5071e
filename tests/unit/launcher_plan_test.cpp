#include "launcher/launcher_plan.h"

#include <gtest/gtest.h>

namespace mc {
namespace {

LinkEntry Link(int type, int x = 0, int y = 0, int w = 0, int h = 0, std::string url = "_blank") {
  LinkEntry e;
  e.type = type, e.x = x, e.y = y, e.width = w, e.height = h, e.url = std::move(url);
  return e;
}

TEST(LauncherPlan, ControlsFollowLinkNumbersAndTypes) {
  ConfigRecord config;
  config.links = {Link(1, 10, 20, 999, 999), Link(1), Link(9), Link(1), Link(4, 5, 6, 300, 200, "http://p/"),
                  Link(2), Link(3), Link(4, 0, 0, 10, 10, "http://q/")};
  const std::vector<LauncherControl> plan = BuildLauncherPlan(config);
  struct Expected {
    LauncherControl::Kind kind;
    int number, id;
  };
  const Expected expected[] = {
      {LauncherControl::Kind::kButton, 1, 201},  {LauncherControl::Kind::kButton, 2, 201},
      {LauncherControl::Kind::kButton, 4, 201},  {LauncherControl::Kind::kHtmlArea, 5, 150},
      {LauncherControl::Kind::kButton, 6, 202},  {LauncherControl::Kind::kButton, 7, 203},
      {LauncherControl::Kind::kHtmlArea, 8, 151},
  };
  ASSERT_EQ(plan.size(), std::size(expected));
  for (size_t i = 0; i < plan.size(); ++i) {
    EXPECT_EQ(plan[i].kind, expected[i].kind) << i;
    EXPECT_EQ(plan[i].linkNumber, expected[i].number) << i;
    EXPECT_EQ(plan[i].id, expected[i].id) << i;
  }
  // Buttons take their images by link number and ignore the configured size.
  EXPECT_EQ(plan[2].normalImage, "config/4_n.png");
  EXPECT_EQ(plan[2].pressedImage, "config/4_d.png");
  EXPECT_EQ(plan[0].x, 10);
  EXPECT_EQ(plan[0].width, 0);
  EXPECT_EQ(plan[3].width, 300);
  EXPECT_EQ(plan[3].url, "http://p/");
  EXPECT_TRUE(plan[3].normalImage.empty());
}

TEST(CaptureGameAddress, MarkerRules) {
  struct Case {
    const char* url;
    const char* marker;
    std::optional<std::string> address;
  };
  const Case cases[] = {
      {"Mxyz", "M", "xyz"},
      {"abcMxyz", "M", "abcMxyz"},
      {"M", "M", ""},
      {"http://a/", "", "http://a/"},
      {"game:http://g/play", "game:", "http://g/play"},
      {"GAME:http://g/", "game:", std::nullopt},
      {"http://a/", "game:", std::nullopt},
      // The marker is stripped only once, at the start.
      {"game:game:x", "game:", "game:x"},
  };
  for (const Case& c : cases) EXPECT_EQ(CaptureGameAddress(c.url, c.marker), c.address) << c.url;
}

TEST(LauncherKeys, EnterAndEscapeNeverCloseFunctionKeysAndChordsAreDiscarded) {
  EXPECT_EQ(FilterOverlayKey(kVkReturn), KeyVerdict::kDispatch);
  EXPECT_EQ(FilterOverlayKey(kVkEscape), KeyVerdict::kDispatch);
  EXPECT_EQ(FilterOverlayKey('A'), KeyVerdict::kDefault);
  struct Case {
    unsigned key;
    bool ctrl, shift;
    KeyVerdict verdict;
  };
  const Case cases[] = {
      {kVkReturn, false, false, KeyVerdict::kDispatch}, {kVkEscape, true, false, KeyVerdict::kDispatch},
      {kVkF1, false, false, KeyVerdict::kDiscard},      {kVkF12, false, false, KeyVerdict::kDiscard},
      {0x7C /* F13 */, false, false, KeyVerdict::kDefault}, {'N', true, false, KeyVerdict::kDiscard},
      {0x74 /* F5 */, false, true, KeyVerdict::kDiscard},   {'A', false, false, KeyVerdict::kDefault},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FilterBackgroundKey(c.key, c.ctrl, c.shift), c.verdict) << c.key;
}

TEST(FirstPageTracker, OnlyTheFirstDocumentReveals) {
  FirstPageTracker tracker;
  EXPECT_FALSE(tracker.pageLoaded());
  EXPECT_TRUE(tracker.OnDocumentComplete());
  EXPECT_FALSE(tracker.OnDocumentComplete());
  EXPECT_TRUE(tracker.pageLoaded());
}

}  // namespace
}  // namespace mc
