// The image button of every skinned window: a system push button made owner-drawn, painting
// one of its face bitmaps (normal, pressed, hover, focus, disabled), optionally shaped by a
// mask bitmap, with a tooltip, a centred caption and a link opened with the shell on every
// press. Towards its parent it stays a standard button: a click sends the usual command
// notification with its control id. The behaviour rules live in skin/skin_button_model.h.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/gdi_handles.h"
#include "platform/win32/window_base.h"
#include "skin/skin_button_model.h"

namespace mc::win32 {

class CSkinButton : public Window, private ButtonHost {
 public:
  CSkinButton();
  ~CSkinButton() override;

  // Creates the button window as a child of parent (style WS_CHILD | WS_VISIBLE for a push
  // button) and attaches to it.
  bool Create(const std::string& caption, DWORD style, const RECT& rect, HWND parent, int id);

  // Takes ownership of every bitmap given (each may be nullptr); a missing disabled face falls
  // back to the normal one. With a mask, the button is shaped by the mask's non-magenta pixels
  // and, in draw mode 0, sized to the mask.
  void SetImages(HBITMAP normal, HBITMAP down, HBITMAP over, HBITMAP disabled, HBITMAP focus,
                 HBITMAP mask, int16_t drawMode, int16_t border, int16_t focusMargin);
  // Stores the address with every ";" replaced by "&".
  void SetLinkUrl(const std::string& url) { model_.SetLinkUrl(url); }
  const std::string& linkUrl() const { return model_.linkUrl(); }
  void SetTipText(const std::string& text);
  COLORREF SetCaptionColor(COLORREF color);

  DrawMode drawMode() const { return settings_.drawMode; }
  int16_t focusMargin() const { return settings_.focusMargin; }
  bool border() const { return settings_.border; }
  ButtonKind kind() const { return kind_; }
  bool checked() const { return checked_; }
  bool hovering() const { return model_.hovering(); }
  bool pressed() const { return model_.pressed(); }
  HWND tooltip() const { return tooltip_; }

  // Free for the owning window (the configured button type, the button's index).
  uint8_t typeTag = 0;
  int32_t indexTag = 0;

 protected:
  void PreSubclassWindow() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  // ButtonHost
  bool HasCapture() override;
  bool ArmLeaveTracking() override;
  bool CancelLeaveTracking() override;
  bool IsPushed() override;
  void SetPushed(bool pushed) override;
  void Repaint() override;
  void OpenLink(const std::string& url) override;

  void DrawItem(const DRAWITEMSTRUCT& item);
  void PaintImage(HDC dc, HBITMAP bitmap, const RECT& rect, DrawMode mode);
  void RelayToTooltip(UINT msg, WPARAM wp, LPARAM lp);
  bool OverThisButton(POINT screenPoint) const;
  void SetCheck(bool on);
  void ToggleByUser();

  enum Slot { kNormalSlot, kDownSlot, kOverSlot, kDisabledSlot, kFocusSlot, kMaskSlot, kSlots };
  HBITMAP FaceBitmap(Face face) const;

  SkinButtonModel model_;
  ImageSettings settings_;
  ButtonKind kind_ = ButtonKind::kPush;
  bool checked_ = false;
  HWND tooltip_ = nullptr;
  // The bitmap of each face, and the bitmaps owned: a handle given for two faces (or the
  // normal face standing in for a missing disabled one) is deleted once.
  HBITMAP slots_[kSlots] = {};
  std::vector<ScopedBitmap> owned_;
  COLORREF captionColor_;
  HRGN region_ = nullptr;  // owned by the window once given to it
};

}  // namespace mc::win32
