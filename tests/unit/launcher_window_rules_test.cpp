#include "launcher/launcher_window_rules.h"

#include <climits>

#include <gtest/gtest.h>

namespace mc {
namespace {

TEST(FitOnPicture, ControlsStayOnThePicture) {
  struct Case {
    int x, y, w, h;
    ControlRect expected;
  };
  const Case cases[] = {
      {40, 92, 560, 344, {40, 92, 560, 344}},                   // inside: unchanged
      {700, 500, 100, 100, {700, 500, 60, 20}},                 // overhangs right and bottom
      {-30, -10, 100, 50, {0, 0, 70, 40}},                      // overhangs left and top
      {10, 10, -5, -7, {10, 10, 0, 0}},                         // negative sizes
      {5000, -5000, 10, 10, {760, 0, 0, 0}},                    // entirely off the picture
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX, {760, 520, 0, 0}},   // no overflow
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX, {0, 0, 0, 0}},
      {-100, -100, INT_MAX, INT_MAX, {0, 0, 760, 520}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitOnPicture(c.x, c.y, c.w, c.h, 760, 520), c.expected)
        << c.x << "," << c.y << " " << c.w << "x" << c.h;
  // A picture that did not decode has no room for anything.
  EXPECT_EQ(FitOnPicture(10, 10, 50, 50, 0, 0), (ControlRect{0, 0, 0, 0}));
}

TEST(CaptureLauncherNavigation, BlankPreparationIsNeverAGameEntry) {
  EXPECT_TRUE(IsPreparationPage("about:blank"));
  EXPECT_FALSE(IsPreparationPage("http://s/about:blank"));
  EXPECT_EQ(CaptureLauncherNavigation("about:blank", ""), std::nullopt);
  EXPECT_EQ(CaptureLauncherNavigation("about:blank", "a"), std::nullopt);
  // Everything else follows the marker rule, also with an empty marker.
  EXPECT_EQ(CaptureLauncherNavigation("http://s/launcher.html", ""), "http://s/launcher.html");
  EXPECT_EQ(CaptureLauncherNavigation("game:http://s/g", "game:"), "http://s/g");
  EXPECT_EQ(CaptureLauncherNavigation("http://s/launcher.html", "game:"), std::nullopt);
}


}  // namespace
}  // namespace mc

namespace mc {
namespace {

TEST(GameAddressCapture, CapturesOnceThenCancelsAndIgnoresOtherAreas) {
  GameAddressCapture capture;
  EXPECT_FALSE(capture.OnBeforeNavigate(151, "game:http://g/", "game:").address);
  EXPECT_FALSE(capture.OnBeforeNavigate(150, "http://plain/", "game:").cancel);
  const GameAddressCapture::Verdict first = capture.OnBeforeNavigate(150, "game:http://g/", "game:");
  EXPECT_TRUE(first.cancel);
  EXPECT_EQ(first.address, std::optional<std::string>("http://g/"));
  const GameAddressCapture::Verdict later = capture.OnBeforeNavigate(150, "http://plain/", "game:");
  EXPECT_TRUE(later.cancel);
  EXPECT_FALSE(later.address);
}

TEST(GameAddressCapture, FirstRealPageOfTheFirstAreaReveals) {
  GameAddressCapture capture;
  EXPECT_FALSE(capture.OnDocumentComplete(150, "about:blank"));
  EXPECT_FALSE(capture.OnDocumentComplete(151, "http://p/"));
  EXPECT_FALSE(capture.pageLoaded());
  EXPECT_TRUE(capture.OnDocumentComplete(150, "http://p/"));
  EXPECT_FALSE(capture.OnDocumentComplete(150, "http://p/frame"));
  EXPECT_TRUE(capture.pageLoaded());
}

}  // namespace
}  // namespace mc
