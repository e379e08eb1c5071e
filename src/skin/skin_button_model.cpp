#include "skin/skin_button_model.h"

#include <algorithm>

namespace mc {

ImageSettings ClampImageSettings(int16_t drawMode, int16_t border, int16_t focusMargin) {
  ImageSettings s;
  s.drawMode = static_cast<DrawMode>(std::clamp<int16_t>(drawMode, 0, 2));
  s.border = border != 0;
  s.focusMargin = std::max<int16_t>(focusMargin, 0);
  return s;
}

std::string LinkUrlFromConfig(std::string_view text) {
  std::string url(text);
  std::replace(url.begin(), url.end(), ';', '&');
  return url;
}

ButtonKind ButtonKindFromStyle(uint32_t style) {
  const uint32_t low = style & 0xFFFF;
  if ((low & 3) == 3) return ButtonKind::kCheckBox;
  if ((low & 9) == 9) return ButtonKind::kRadio;
  return ButtonKind::kPush;
}

ButtonPaintPlan PlanButtonPaint(const ItemState& state, const FaceSet& faces, int width,
                                int height, bool border, int focusMargin) {
  ButtonPaintPlan plan;
  const PixelRect item{0, 0, width, height};
  const int inset = focusMargin + 2;
  PixelRect caption{inset, 0, width - inset, height};

  if (state.disabled) {
    if (faces.disabled) plan.face = Face::kDisabled;
    else if (faces.normal) plan.face = Face::kNormal;
    if (border) plan.edge = Edge::kRaised;
    plan.captions.push_back({CaptionColor::kHighlight, caption});
    plan.captions.push_back({CaptionColor::kGrayText,
                             {caption.left - 1, caption.top - 1, caption.right - 1,
                              caption.bottom - 1}});
    return plan;
  }

  if (state.selected || state.checked) {
    if (faces.down) plan.face = Face::kDown;
    caption = {caption.left + 1, caption.top + 1, caption.right + 1, caption.bottom + 1};
    if (border) plan.edge = Edge::kSunken;
  } else {
    if (faces.normal) {
      if (state.hovering && faces.over) plan.face = Face::kOver;
      else if (state.focused && faces.focus) plan.face = Face::kFocus;
      else plan.face = Face::kNormal;
    }
    if (border) plan.edge = Edge::kRaised;
  }
  if (state.focused && focusMargin > 0)
    plan.focusRect = PixelRect{item.left + focusMargin, item.top + focusMargin,
                               item.right - focusMargin, item.bottom - focusMargin};
  plan.captions.push_back({CaptionColor::kCaption, caption});
  return plan;
}

std::vector<FaceBlit> PlanFaceBlits(DrawMode mode, int bitmapWidth, int bitmapHeight, int width,
                                    int height) {
  std::vector<FaceBlit> blits;
  if (bitmapWidth <= 0 || bitmapHeight <= 0 || width <= 0 || height <= 0) return blits;
  switch (mode) {
    case DrawMode::kNormal: {
      const int w = std::min(bitmapWidth, width), h = std::min(bitmapHeight, height);
      blits.push_back({{0, 0, w, h}, {0, 0, w, h}});
      break;
    }
    case DrawMode::kStretch:
      blits.push_back({{0, 0, bitmapWidth, bitmapHeight}, {0, 0, width, height}});
      break;
    case DrawMode::kTile:
      for (int y = 0; y < height; y += bitmapHeight) {
        const int h = std::min(bitmapHeight, height - y);
        for (int x = 0; x < width; x += bitmapWidth) {
          const int w = std::min(bitmapWidth, width - x);
          blits.push_back({{0, 0, w, h}, {x, y, x + w, y + h}});
        }
      }
      break;
  }
  return blits;
}

void SkinButtonModel::MouseMove(ButtonHost& host, bool overButton) {
  if (pressed_ && host.HasCapture()) {
    if (overButton != host.IsPushed()) {
      host.SetPushed(overButton);
      host.Repaint();
    }
  } else if (!hovering_) {
    if (host.ArmLeaveTracking()) {
      hovering_ = true;
      host.Repaint();
    }
  }
}

void SkinButtonModel::MouseLeave(ButtonHost& host) {
  hovering_ = false;
  host.Repaint();
}

void SkinButtonModel::PressBegin(ButtonHost& host) {
  if (hovering_ && host.CancelLeaveTracking()) hovering_ = false;
}

void SkinButtonModel::PressEnd(ButtonHost& host) {
  pressed_ = true;
  if (!linkUrl_.empty()) host.OpenLink(linkUrl_);
}

bool SkinButtonModel::FocusLost(ButtonHost& host) {
  if (!host.HasCapture()) return false;
  pressed_ = false;
  return true;
}

void PushButtonBehavior::Press() {
  captured_ = true;
  pushed_ = true;
}

void PushButtonBehavior::Move(bool overButton) {
  if (captured_) pushed_ = overButton;
}

bool PushButtonBehavior::Release(bool overButton) {
  const bool click = captured_ && overButton;
  captured_ = false;
  pushed_ = false;
  return click;
}

void PushButtonBehavior::LoseCapture() {
  captured_ = false;
  pushed_ = false;
  spaceHeld_ = false;
}

void PushButtonBehavior::SpaceDown() {
  if (captured_) return;
  spaceHeld_ = true;
  pushed_ = true;
}

bool PushButtonBehavior::SpaceUp() {
  const bool click = spaceHeld_ && pushed_ && !captured_;
  spaceHeld_ = false;
  if (!captured_) pushed_ = false;
  return click;
}

}  // namespace mc
