// The image button's behaviour without a window: which face it shows, where its caption and
// focus rectangle go, how its faces are copied in each draw mode, and how it reacts to the
// mouse (hover tracking, the pressed face following the pointer while the button holds the
// mouse, a link opened on every press, a click only when released over the button).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/pixel_region.h"

namespace mc {

// Mask pixels of this colour (magenta, 0x00BBGGRR) lie outside the button's shape.
inline constexpr uint32_t kMaskKeyColor = 0xFF00FF;

// How a face bitmap fills the button.
enum class DrawMode : int16_t { kNormal = 0, kStretch = 1, kTile = 2 };

struct ImageSettings {
  DrawMode drawMode = DrawMode::kStretch;
  bool border = false;
  int16_t focusMargin = 0;
};

// Draw mode clamped to 0..2, border on when non-zero, a negative focus margin taken as 0.
ImageSettings ClampImageSettings(int16_t drawMode, int16_t border, int16_t focusMargin);

// A configured link address as the shell gets it: every ";" becomes "&" (the configuration
// text format cannot hold "&" in a value).
std::string LinkUrlFromConfig(std::string_view text);

// Push button, check box or radio button, from the low 16 bits of a button window style.
enum class ButtonKind { kPush = 0, kCheckBox = 2, kRadio = 4 };
ButtonKind ButtonKindFromStyle(uint32_t style);

enum class Face { kNormal, kDown, kOver, kFocus, kDisabled };

// Which face bitmaps a button holds.
struct FaceSet {
  bool normal = false;
  bool down = false;
  bool over = false;
  bool focus = false;
  bool disabled = false;
};

// The state a paint pass sees.
struct ItemState {
  bool disabled = false;
  bool selected = false;  // pushed: pressed with the pointer over the button
  bool focused = false;
  bool checked = false;
  bool hovering = false;
};

enum class Edge { kNone, kRaised, kSunken };
enum class CaptionColor { kCaption, kHighlight, kGrayText };

struct CaptionDraw {
  CaptionColor color = CaptionColor::kCaption;
  PixelRect rect;  // the caption is centred in it on one line
  bool operator==(const CaptionDraw&) const = default;
};

struct ButtonPaintPlan {
  std::optional<Face> face;  // none: fill with the system button-face colour
  Edge edge = Edge::kNone;
  std::optional<PixelRect> focusRect;
  std::vector<CaptionDraw> captions;  // in drawing order
};

// What to paint for a button of width x height. Priority: disabled, then pressed or checked,
// then hovering (with an over face), then focused (with a focus face), then normal. A disabled
// button without a disabled face shows its normal face.
ButtonPaintPlan PlanButtonPaint(const ItemState& state, const FaceSet& faces, int width,
                                int height, bool border, int focusMargin);

// One copy of a face bitmap: source rectangle to destination rectangle, stretched when the
// two differ in size.
struct FaceBlit {
  PixelRect source;
  PixelRect dest;
  bool operator==(const FaceBlit&) const = default;
};

// The copies that paint a bitmap of bitmapWidth x bitmapHeight onto a button of width x
// height: 1:1 from the origin (a larger bitmap is clipped, a smaller one leaves the rest
// untouched), stretched whole, or tiled from the top-left with the last column and row cut.
std::vector<FaceBlit> PlanFaceBlits(DrawMode mode, int bitmapWidth, int bitmapHeight, int width,
                                    int height);

// What the button's behaviour needs of its window.
class ButtonHost {
 public:
  virtual ~ButtonHost() = default;
  virtual bool HasCapture() = 0;
  // Asks for one notice when the pointer leaves the button; false when that cannot be had.
  virtual bool ArmLeaveTracking() = 0;
  virtual bool CancelLeaveTracking() = 0;
  virtual bool IsPushed() = 0;
  virtual void SetPushed(bool pushed) = 0;
  virtual void Repaint() = 0;
  virtual void OpenLink(const std::string& url) = 0;
};

// Hover and press tracking of the image button and its link. The events are those of the
// button's window, each called after (Press) or before (the others) the window's default
// button processing, as noted.
class SkinButtonModel {
 public:
  void SetLinkUrl(std::string_view configured) { linkUrl_ = LinkUrlFromConfig(configured); }
  const std::string& linkUrl() const { return linkUrl_; }
  bool hovering() const { return hovering_; }
  bool pressed() const { return pressed_; }

  // While pressed with the mouse held, the pushed state follows whether the pointer is over
  // the button; otherwise the first move starts hovering once leave tracking is armed.
  void MouseMove(ButtonHost& host, bool overButton);
  void MouseLeave(ButtonHost& host);
  // Before the default processing: ends hovering.
  void PressBegin(ButtonHost& host);
  // After the default processing (capture, pushed state, focus): pressed, and the link opened.
  // A double click is a second press.
  void PressEnd(ButtonHost& host);
  void Release() { pressed_ = false; }
  // Before the default processing; true when the capture must be released.
  bool FocusLost(ButtonHost& host);

 private:
  std::string linkUrl_;
  bool hovering_ = false;
  bool pressed_ = false;
};

// What a standard push button does by itself with the mouse, for a port whose button is not a
// system control: the press takes the mouse and shows the button pushed, the pushed state
// follows the pointer while held, and the release clicks only over the button.
class PushButtonBehavior {
 public:
  bool captured() const { return captured_; }
  bool pushed() const { return pushed_; }
  void SetPushed(bool pushed) { pushed_ = pushed; }

  void Press();
  void Move(bool overButton);
  // True when the release is a click.
  bool Release(bool overButton);
  void LoseCapture();
  // The space bar pushes the button while held and clicks when let go over it, unless the
  // mouse holds the button meanwhile.
  void SpaceDown();
  bool SpaceUp();

 private:
  bool captured_ = false;
  bool pushed_ = false;
  bool spaceHeld_ = false;
};

}  // namespace mc
