// The image button without a window: settings, faces and captions, face copies per draw mode,
// and the mouse behaviour (hover, pressed face following the pointer, links, clicks).
#include "skin/skin_button_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mc {
namespace {

TEST(SkinButtonSettings, ClampedAsStored) {
  struct Case { int16_t mode, border, margin; DrawMode wantMode; bool wantBorder; int16_t wantMargin; } cases[] = {
      {7, 0, 0, DrawMode::kTile, false, 0},
      {-3, 1, 4, DrawMode::kNormal, true, 4},
      {1, -2, -5, DrawMode::kStretch, true, 0},
      {0, 0, 3, DrawMode::kNormal, false, 3},
  };
  for (const Case& c : cases) {
    const ImageSettings s = ClampImageSettings(c.mode, c.border, c.margin);
    EXPECT_EQ(s.drawMode, c.wantMode) << c.mode;
    EXPECT_EQ(s.border, c.wantBorder) << c.border;
    EXPECT_EQ(s.focusMargin, c.wantMargin) << c.margin;
  }
}

TEST(SkinButtonSettings, LinkSemicolonsBecomeAmpersands) {
  EXPECT_EQ(LinkUrlFromConfig("http://h/p?a=1;b=2;c"), "http://h/p?a=1&b=2&c");
  EXPECT_EQ(LinkUrlFromConfig("http://h/p?a=1&b=2"), "http://h/p?a=1&b=2");
  EXPECT_EQ(LinkUrlFromConfig(""), "");
}

TEST(SkinButtonSettings, KindFromStyle) {
  EXPECT_EQ(ButtonKindFromStyle(0x50000000), ButtonKind::kPush);
  EXPECT_EQ(ButtonKindFromStyle(0x50000003), ButtonKind::kCheckBox);  // auto check box
  EXPECT_EQ(ButtonKindFromStyle(0x50000009), ButtonKind::kRadio);     // auto radio button
  EXPECT_EQ(ButtonKindFromStyle(0x50000002), ButtonKind::kPush);      // plain check box
  EXPECT_EQ(ButtonKindFromStyle(0x00030000), ButtonKind::kPush);      // high bits ignored
}

TEST(SkinButtonPaint, FacePriority) {
  const FaceSet all{true, true, true, true, true};
  const FaceSet launcher{true, true, false, false, false};  // normal and down only
  struct Case {
    const char* what;
    ItemState state;
    FaceSet faces;
    std::optional<Face> face;
  } cases[] = {
      {"disabled wins", {.disabled = true, .selected = true, .hovering = true}, all, Face::kDisabled},
      {"disabled without its face shows normal", {.disabled = true}, launcher, Face::kNormal},
      {"disabled without any face fills", {.disabled = true}, {}, std::nullopt},
      {"pressed", {.selected = true, .focused = true, .hovering = true}, all, Face::kDown},
      {"checked", {.checked = true}, all, Face::kDown},
      {"pressed without down face fills", {.selected = true}, {.normal = true}, std::nullopt},
      {"hover before focus", {.focused = true, .hovering = true}, all, Face::kOver},
      {"hover without over face", {.hovering = true}, launcher, Face::kNormal},
      {"focus", {.focused = true}, all, Face::kFocus},
      {"no normal face fills even when hovering", {.hovering = true}, {.over = true}, std::nullopt},
      {"normal", {}, all, Face::kNormal},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlanButtonPaint(c.state, c.faces, 40, 20, false, 0).face, c.face) << c.what;
}

TEST(SkinButtonPaint, CaptionsEdgesAndFocusRectangle) {
  const FaceSet faces{true, true, false, false, false};
  // Disabled: highlight copy, then the grey copy one pixel up and left; no focus rectangle.
  ButtonPaintPlan plan = PlanButtonPaint({.disabled = true, .focused = true}, faces, 40, 20, true, 3);
  EXPECT_EQ(plan.edge, Edge::kRaised);
  EXPECT_FALSE(plan.focusRect);
  EXPECT_EQ(plan.captions, (std::vector<CaptionDraw>{{CaptionColor::kHighlight, {5, 0, 35, 20}},
                                                      {CaptionColor::kGrayText, {4, -1, 34, 19}}}));
  // Pressed: caption moved down and right, sunken edge, focus rectangle inset by the margin.
  plan = PlanButtonPaint({.selected = true, .focused = true}, faces, 40, 20, true, 3);
  EXPECT_EQ(plan.edge, Edge::kSunken);
  EXPECT_EQ(plan.focusRect, (PixelRect{3, 3, 37, 17}));
  EXPECT_EQ(plan.captions, (std::vector<CaptionDraw>{{CaptionColor::kCaption, {6, 1, 36, 21}}}));
  // Without border or margin: no edge and no focus rectangle.
  plan = PlanButtonPaint({.focused = true}, faces, 40, 20, false, 0);
  EXPECT_EQ(plan.edge, Edge::kNone);
  EXPECT_FALSE(plan.focusRect);
  EXPECT_EQ(plan.captions, (std::vector<CaptionDraw>{{CaptionColor::kCaption, {2, 0, 38, 20}}}));
}

TEST(SkinButtonPaint, FaceCopiesPerDrawMode) {
  using B = std::vector<FaceBlit>;
  EXPECT_EQ(PlanFaceBlits(DrawMode::kNormal, 50, 10, 30, 20), (B{{{0, 0, 30, 10}, {0, 0, 30, 10}}}));
  EXPECT_EQ(PlanFaceBlits(DrawMode::kStretch, 50, 10, 30, 20), (B{{{0, 0, 50, 10}, {0, 0, 30, 20}}}));
  EXPECT_EQ(PlanFaceBlits(DrawMode::kTile, 10, 6, 25, 8),
            (B{{{0, 0, 10, 6}, {0, 0, 10, 6}},
               {{0, 0, 10, 6}, {10, 0, 20, 6}},
               {{0, 0, 5, 6}, {20, 0, 25, 6}},
               {{0, 0, 10, 2}, {0, 6, 10, 8}},
               {{0, 0, 10, 2}, {10, 6, 20, 8}},
               {{0, 0, 5, 2}, {20, 6, 25, 8}}}));
  EXPECT_TRUE(PlanFaceBlits(DrawMode::kTile, 0, 6, 25, 8).empty());
}

// A button window: a system push button's own mouse handling plus a record of what the
// model asked for.
class FakeButton : public ButtonHost {
 public:
  SkinButtonModel model;
  PushButtonBehavior native;
  bool armOk = true;
  bool armed = false;
  int repaints = 0;
  std::vector<std::string> opened;
  int clicks = 0;

  bool HasCapture() override { return native.captured(); }
  bool ArmLeaveTracking() override { return armed = armOk; }
  bool CancelLeaveTracking() override {
    armed = false;
    return true;
  }
  bool IsPushed() override { return native.pushed(); }
  void SetPushed(bool pushed) override { native.SetPushed(pushed); }
  void Repaint() override { ++repaints; }
  void OpenLink(const std::string& url) override { opened.push_back(url); }

  void Move(bool over) {
    model.MouseMove(*this, over);
    native.Move(over);
  }
  void Leave() {
    armed = false;
    model.MouseLeave(*this);
  }
  void Press() {
    model.PressBegin(*this);
    native.Press();
    model.PressEnd(*this);
  }
  void Release(bool over) {
    model.Release();
    clicks += native.Release(over);
  }
  std::optional<Face> face() const {
    ItemState s;
    s.selected = native.pushed();
    s.hovering = model.hovering();
    return PlanButtonPaint(s, {true, true, true, false, false}, 10, 10, false, 0).face;
  }
};

TEST(SkinButtonBehaviour, PressedFaceFollowsThePointerAndOnlyAReleaseOverClicks) {
  FakeButton b;
  b.model.SetLinkUrl("http://h/?a=1;b=2");
  b.Move(true);
  EXPECT_TRUE(b.model.hovering());
  EXPECT_EQ(b.face(), Face::kOver);

  b.Press();
  EXPECT_FALSE(b.model.hovering());
  EXPECT_FALSE(b.armed);  // leave tracking cancelled by the press
  EXPECT_EQ(b.opened, (std::vector<std::string>{"http://h/?a=1&b=2"}));
  EXPECT_EQ(b.face(), Face::kDown);

  b.Move(false);
  EXPECT_EQ(b.face(), Face::kNormal);
  EXPECT_FALSE(b.model.hovering());  // no hover while held
  b.Move(true);
  EXPECT_EQ(b.face(), Face::kDown);
  b.Move(false);
  b.Release(false);
  EXPECT_EQ(b.clicks, 0);
  EXPECT_FALSE(b.model.pressed());

  b.Move(true);
  b.Press();
  b.Release(true);
  EXPECT_EQ(b.clicks, 1);
  EXPECT_EQ(b.opened.size(), 2u);
}

TEST(SkinButtonBehaviour, EveryPressOpensTheLinkAndEmptyLinksNothing) {
  FakeButton b;
  b.model.SetLinkUrl("http://h/x");
  // A double click: down, up, then the double-click message counts as a second press.
  b.Press();
  b.Release(true);
  b.Press();
  b.Release(true);
  EXPECT_EQ(b.opened, (std::vector<std::string>{"http://h/x", "http://h/x"}));
  EXPECT_EQ(b.clicks, 2);

  FakeButton plain;
  plain.Press();
  plain.Release(true);
  EXPECT_TRUE(plain.opened.empty());
  EXPECT_EQ(plain.clicks, 1);
}

TEST(SkinButtonBehaviour, HoverNeedsLeaveTrackingAndEndsOnLeave) {
  FakeButton b;
  b.armOk = false;
  b.Move(true);
  EXPECT_FALSE(b.model.hovering());
  EXPECT_EQ(b.repaints, 0);
  b.armOk = true;
  b.Move(true);  // the next move tries again
  EXPECT_TRUE(b.model.hovering());
  b.Move(true);
  EXPECT_EQ(b.repaints, 1);  // only the change repaints
  b.Leave();
  EXPECT_FALSE(b.model.hovering());
  EXPECT_EQ(b.face(), Face::kNormal);
}

TEST(SkinButtonBehaviour, FocusLossWhileHeldEndsThePress) {
  FakeButton b;
  b.Press();
  EXPECT_TRUE(b.model.FocusLost(b));
  b.native.LoseCapture();
  EXPECT_FALSE(b.model.pressed());
  EXPECT_EQ(b.face(), Face::kNormal);
  b.Release(true);  // the button-up that follows is no click
  EXPECT_EQ(b.clicks, 0);
  EXPECT_FALSE(b.model.FocusLost(b));  // nothing held
}

TEST(SkinButtonBehaviour, SpaceClicksUnlessTheMouseHoldsTheButton) {
  PushButtonBehavior native;
  native.SpaceDown();
  EXPECT_TRUE(native.pushed());
  EXPECT_TRUE(native.SpaceUp());
  EXPECT_FALSE(native.pushed());
  native.Press();
  native.SpaceDown();
  EXPECT_FALSE(native.SpaceUp());
  EXPECT_TRUE(native.Release(true));
  EXPECT_FALSE(native.SpaceUp());  // no space pressed
}

}  // namespace
}  // namespace mc
