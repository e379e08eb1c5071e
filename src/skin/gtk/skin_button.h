// The image button on Linux: a widget with its own window that paints one of its face
// bitmaps (normal, pressed, hover, focus, disabled) with their stored colours, optionally
// shaped by a mask bitmap, with a tooltip, a centred caption and a link opened with the
// desktop's default handler on every press. It behaves as a system push button does on
// Windows: the press holds the mouse, the pressed face follows the pointer while held, and
// only a release over the button clicks. The rules live in skin/skin_button_model.h.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gtk/cairo_handles.h"
#include "skin/gtk/skin_image.h"
#include "skin/gtk/skin_text.h"
#include "skin/skin_button_model.h"

namespace mc::gtk {

class CSkinButton : private ButtonHost {
 public:
  using ClickHandler = std::function<void(int id)>;

  CSkinButton();
  ~CSkinButton() override;
  CSkinButton(const CSkinButton&) = delete;
  CSkinButton& operator=(const CSkinButton&) = delete;

  // Creates the widget at rect (its left and top in the parent layer; its size) with a GBK
  // caption; a click calls onClick(id). The widget is placed by the caller (for example
  // CStandardDialog::Put).
  bool Create(const std::string& caption, const PixelRect& rect, int id, ClickHandler onClick);
  GtkWidget* widget() const { return widget_; }
  int id() const { return id_; }

  // Takes every bitmap given (each may be empty); a missing disabled face falls back to the
  // normal one. With a mask, the button is shaped by the mask's non-magenta pixels and, in
  // draw mode 0, sized to the mask.
  void SetImages(SkinBitmap normal, SkinBitmap down, SkinBitmap over, SkinBitmap disabled,
                 SkinBitmap focus, SkinBitmap mask, int16_t drawMode, int16_t border,
                 int16_t focusMargin);
  // Stores the address with every ";" replaced by "&".
  void SetLinkUrl(const std::string& url) { model_.SetLinkUrl(url); }
  const std::string& linkUrl() const { return model_.linkUrl(); }
  void SetTipText(const std::string& gbkText);
  // Colour as 0x00BBGGRR; returns the previous one.
  uint32_t SetCaptionColor(uint32_t color);

  DrawMode drawMode() const { return settings_.drawMode; }
  int16_t focusMargin() const { return settings_.focusMargin; }
  bool border() const { return settings_.border; }
  bool hovering() const { return model_.hovering(); }
  bool pressed() const { return model_.pressed(); }

  // Free for the owning window (the configured button type, the button's index).
  uint8_t typeTag = 0;
  int32_t indexTag = 0;

 private:
  enum Slot { kNormalSlot, kDownSlot, kOverSlot, kDisabledSlot, kFocusSlot, kMaskSlot, kSlots };

  // ButtonHost
  bool HasCapture() override { return native_.captured(); }
  bool ArmLeaveTracking() override;
  bool CancelLeaveTracking() override;
  bool IsPushed() override { return native_.pushed(); }
  void SetPushed(bool pushed) override { native_.SetPushed(pushed); }
  void Repaint() override;
  void OpenLink(const std::string& url) override;

  static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean OnPress(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnRelease(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
  static gboolean OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer self);
  static gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer self);
  static gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self);
  static gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer self);
  static void OnRealize(GtkWidget*, gpointer self);

  void Draw(cairo_t* cr);
  void PaintFace(cairo_t* cr, Slot slot, int width, int height);
  bool Over(double x, double y) const;
  void ApplyShape();
  cairo_surface_t* FaceSurface(Slot slot);

  GtkWidget* widget_ = nullptr;
  int id_ = 0;
  ClickHandler onClick_;
  std::string caption_;  // UTF-8
  SkinTextContext text_;
  SkinButtonModel model_;
  PushButtonBehavior native_;
  bool leaveArmed_ = false;
  ImageSettings settings_;
  uint32_t captionColor_ = 0x000000;  // the system button-text colour
  SkinBitmap slots_[kSlots];
  CairoSurfacePtr surfaces_[kSlots];  // faces as opaque cairo surfaces, made on first paint
  CairoRegionPtr shape_;              // from the mask, in widget coordinates
};

}  // namespace mc::gtk
