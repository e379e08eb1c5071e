#include "skin/gtk/skin_button.h"

#include <algorithm>
#include <cstring>

#include "package/gtk/gbk_utf8.h"
#include "platform/gtk/colors.h"
#include "skin/gtk/skin_surface.h"
#include "skin/gtk/shell_open.h"
#include "skin/pixel_region.h"

namespace mc::gtk {
namespace {

// The Windows system colours the button paints with where it has no bitmap (0x00RRGGBB).
constexpr uint32_t kButtonFace = 0xF0F0F0;
constexpr uint32_t kHighlight = 0xFFFFFF;
constexpr uint32_t kLight = 0xE3E3E3;
constexpr uint32_t kShadow = 0xA0A0A0;
constexpr uint32_t kDarkShadow = 0x696969;
constexpr uint32_t kGrayText = 0x6D6D6D;

// One-pixel lines along the top and left, then the bottom and right, of a rectangle.
void EdgeLines(cairo_t* cr, double l, double t, double r, double b, uint32_t topLeft,
               uint32_t bottomRight) {
  SetSourceRgb(cr, topLeft);
  cairo_rectangle(cr, l, t, r - l, 1);
  cairo_rectangle(cr, l, t, 1, b - t);
  cairo_fill(cr);
  SetSourceRgb(cr, bottomRight);
  cairo_rectangle(cr, l, b - 1, r - l, 1);
  cairo_rectangle(cr, r - 1, t, 1, b - t);
  cairo_fill(cr);
}

// A two-pixel 3-D edge as the Windows edge styles draw it.
void DrawEdge(cairo_t* cr, int w, int h, bool raised) {
  if (raised) {
    EdgeLines(cr, 0, 0, w, h, kHighlight, kDarkShadow);
    EdgeLines(cr, 1, 1, w - 1, h - 1, kLight, kShadow);
  } else {
    EdgeLines(cr, 0, 0, w, h, kShadow, kHighlight);
    EdgeLines(cr, 1, 1, w - 1, h - 1, kDarkShadow, kLight);
  }
}

// A face seen through a mask: where the mask is white what lies below stays, elsewhere the
// face shows (the Windows port combines the bits exactly; other mask shades show the face).
CairoSurfacePtr MaskedSurface(const SkinPixels& face, const SkinPixels& mask) {
  CairoSurfacePtr surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, face.width(), face.height()));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_surface_flush(surface.get());
  auto* out = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface.get()));
  const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(surface.get())) / 4;
  ToXrgb(face.rows(), face.colorTable(), out, stride);
  for (int y = 0; y < face.height(); ++y)
    for (int x = 0; x < face.width(); ++x) {
      const bool white = x < mask.width() && y < mask.height() &&
                         PixelColorRef(mask.rows(), mask.colorTable(), x, y) == 0xFFFFFF;
      uint32_t& px = out[static_cast<size_t>(y) * stride + static_cast<size_t>(x)];
      px = white ? 0 : (px | 0xFF000000u);
    }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

}  // namespace

CSkinButton::CSkinButton() = default;

CSkinButton::~CSkinButton() {
  if (!widget_) return;
  g_signal_handlers_disconnect_by_data(widget_, this);
  gtk_widget_destroy(widget_);
  g_object_unref(widget_);
}

bool CSkinButton::Create(const std::string& caption, const PixelRect& rect, int id,
                         ClickHandler onClick) {
  if (widget_) return false;
  widget_ = gtk_drawing_area_new();
  g_object_ref_sink(widget_);
  id_ = id;
  onClick_ = std::move(onClick);
  caption_ = GbkToUtf8(caption);
  gtk_widget_set_size_request(widget_, std::max(rect.right - rect.left, 1),
                              std::max(rect.bottom - rect.top, 1));
  gtk_widget_set_can_focus(widget_, TRUE);
  gtk_widget_add_events(widget_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                     GDK_POINTER_MOTION_MASK | GDK_LEAVE_NOTIFY_MASK |
                                     GDK_ENTER_NOTIFY_MASK | GDK_KEY_PRESS_MASK |
                                     GDK_KEY_RELEASE_MASK | GDK_FOCUS_CHANGE_MASK);
  g_signal_connect(widget_, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(widget_, "button-press-event", G_CALLBACK(OnPress), this);
  g_signal_connect(widget_, "button-release-event", G_CALLBACK(OnRelease), this);
  g_signal_connect(widget_, "motion-notify-event", G_CALLBACK(OnMotion), this);
  g_signal_connect(widget_, "leave-notify-event", G_CALLBACK(OnLeave), this);
  g_signal_connect(widget_, "focus-in-event", G_CALLBACK(OnFocusIn), this);
  g_signal_connect(widget_, "focus-out-event", G_CALLBACK(OnFocusOut), this);
  g_signal_connect(widget_, "key-press-event", G_CALLBACK(OnKey), this);
  g_signal_connect(widget_, "key-release-event", G_CALLBACK(OnKey), this);
  g_signal_connect(widget_, "realize", G_CALLBACK(OnRealize), this);
  gtk_widget_show(widget_);
  return true;
}

void CSkinButton::SetImages(SkinBitmap normal, SkinBitmap down, SkinBitmap over,
                            SkinBitmap disabled, SkinBitmap focus, SkinBitmap mask,
                            int16_t drawMode, int16_t border, int16_t focusMargin) {
  slots_[kNormalSlot] = std::move(normal);
  slots_[kDownSlot] = std::move(down);
  slots_[kOverSlot] = std::move(over);
  slots_[kDisabledSlot] = std::move(disabled);
  slots_[kFocusSlot] = std::move(focus);
  slots_[kMaskSlot] = std::move(mask);
  for (CairoSurfacePtr& surface : surfaces_) surface.reset();
  settings_ = ClampImageSettings(drawMode, border, focusMargin);
  shape_.reset();
  if (const SkinPixels* m = slots_[kMaskSlot].get()) {
    shape_.reset(cairo_region_create());
    for (const PixelRect& r : RegionFromMask(m->rows(), m->colorTable(), kMaskKeyColor)) {
      const cairo_rectangle_int_t rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
      cairo_region_union_rectangle(shape_.get(), &rect);
    }
    if (widget_ && settings_.drawMode == DrawMode::kNormal)
      gtk_widget_set_size_request(widget_, m->width(), m->height());
  }
  ApplyShape();
  Repaint();
}

void CSkinButton::SetTipText(const std::string& gbkText) {
  if (widget_) gtk_widget_set_tooltip_text(widget_, GbkToUtf8(gbkText).c_str());
}

uint32_t CSkinButton::SetCaptionColor(uint32_t color) {
  const uint32_t previous = captionColor_;
  captionColor_ = color;
  return previous;
}

bool CSkinButton::ArmLeaveTracking() {
  leaveArmed_ = true;
  return true;
}

bool CSkinButton::CancelLeaveTracking() {
  leaveArmed_ = false;
  return true;
}

void CSkinButton::Repaint() {
  if (widget_) gtk_widget_queue_draw(widget_);
}

void CSkinButton::OpenLink(const std::string& url) { OpenWithDesktop(url); }

bool CSkinButton::Over(double x, double y) const {
  const int w = gtk_widget_get_allocated_width(widget_), h = gtk_widget_get_allocated_height(widget_);
  if (x < 0 || y < 0 || x >= w || y >= h) return false;
  return !shape_ || cairo_region_contains_point(shape_.get(), static_cast<int>(x), static_cast<int>(y));
}

void CSkinButton::ApplyShape() {
  if (!widget_ || !gtk_widget_get_realized(widget_)) return;
  GdkWindow* window = gtk_widget_get_window(widget_);
  gdk_window_shape_combine_region(window, shape_.get(), 0, 0);
  gdk_window_input_shape_combine_region(window, shape_.get(), 0, 0);
}

void CSkinButton::OnRealize(GtkWidget*, gpointer self) {
  static_cast<CSkinButton*>(self)->ApplyShape();
}

gboolean CSkinButton::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
  static_cast<CSkinButton*>(self)->Draw(cr);
  return TRUE;
}

gboolean CSkinButton::OnPress(GtkWidget*, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<CSkinButton*>(data);
  // Double and triple clicks arrive as extra events after a second plain press, which is
  // what counts: a double click is two presses.
  if (event->button != 1 || event->type != GDK_BUTTON_PRESS) return TRUE;
  self->model_.PressBegin(*self);
  gtk_widget_grab_focus(self->widget_);
  self->native_.Press();
  self->model_.PressEnd(*self);
  self->Repaint();
  return TRUE;  // the press is the button's, not a drag of the window below
}

gboolean CSkinButton::OnRelease(GtkWidget*, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<CSkinButton*>(data);
  if (event->button != 1) return TRUE;
  self->model_.Release();
  const bool click = self->native_.Release(self->Over(event->x, event->y));
  self->Repaint();
  if (click && self->onClick_) self->onClick_(self->id_);
  return TRUE;
}

gboolean CSkinButton::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
  auto* self = static_cast<CSkinButton*>(data);
  const bool over = self->Over(event->x, event->y);
  self->model_.MouseMove(*self, over);
  self->native_.Move(over);
  return FALSE;
}

gboolean CSkinButton::OnLeave(GtkWidget*, GdkEventCrossing*, gpointer data) {
  auto* self = static_cast<CSkinButton*>(data);
  if (self->leaveArmed_) {
    self->leaveArmed_ = false;
    self->model_.MouseLeave(*self);
  }
  return FALSE;
}

gboolean CSkinButton::OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self) {
  static_cast<CSkinButton*>(self)->Repaint();
  return FALSE;
}

gboolean CSkinButton::OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer data) {
  auto* self = static_cast<CSkinButton*>(data);
  if (self->model_.FocusLost(*self)) self->native_.LoseCapture();
  self->Repaint();
  return FALSE;
}

gboolean CSkinButton::OnKey(GtkWidget*, GdkEventKey* event, gpointer data) {
  auto* self = static_cast<CSkinButton*>(data);
  if (event->keyval != GDK_KEY_space) return FALSE;
  if (event->type == GDK_KEY_PRESS) {
    self->native_.SpaceDown();
    self->Repaint();
  } else if (self->native_.SpaceUp()) {
    self->Repaint();
    if (self->onClick_) self->onClick_(self->id_);
  }
  return TRUE;
}

cairo_surface_t* CSkinButton::FaceSurface(Slot slot) {
  if (!slots_[slot]) return nullptr;
  if (!surfaces_[slot]) {
    const SkinPixels* mask = slots_[kMaskSlot].get();
    surfaces_[slot] = mask && settings_.drawMode != DrawMode::kTile
                          ? MaskedSurface(*slots_[slot], *mask)
                          : OpaqueSurface(*slots_[slot]);
  }
  return surfaces_[slot].get();
}

void CSkinButton::PaintFace(cairo_t* cr, Slot slot, int width, int height) {
  cairo_surface_t* face = FaceSurface(slot);
  if (!face) return;
  const SkinPixels& pixels = *slots_[slot];
  for (const FaceBlit& blit :
       PlanFaceBlits(settings_.drawMode, pixels.width(), pixels.height(), width, height)) {
    const double dw = blit.dest.right - blit.dest.left, dh = blit.dest.bottom - blit.dest.top;
    const double sw = blit.source.right - blit.source.left, sh = blit.source.bottom - blit.source.top;
    cairo_save(cr);
    cairo_rectangle(cr, blit.dest.left, blit.dest.top, dw, dh);
    cairo_clip(cr);
    cairo_translate(cr, blit.dest.left, blit.dest.top);
    cairo_scale(cr, dw / sw, dh / sh);
    cairo_set_source_surface(cr, face, -blit.source.left, -blit.source.top);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
  }
}

void CSkinButton::Draw(cairo_t* cr) {
  const int w = gtk_widget_get_allocated_width(widget_), h = gtk_widget_get_allocated_height(widget_);
  // GTK does not clip a child window's drawing to its shape: what lies outside the mask's
  // shape is left to the parent's painting below.
  if (shape_) {
    gdk_cairo_region(cr, shape_.get());
    cairo_clip(cr);
  }
  ItemState state;
  state.disabled = !gtk_widget_is_sensitive(widget_);
  state.selected = native_.pushed();
  state.focused = gtk_widget_has_focus(widget_);
  state.hovering = model_.hovering();
  FaceSet faces;
  faces.normal = slots_[kNormalSlot] != nullptr;
  faces.down = slots_[kDownSlot] != nullptr;
  faces.over = slots_[kOverSlot] != nullptr;
  faces.focus = slots_[kFocusSlot] != nullptr;
  faces.disabled = slots_[kDisabledSlot] != nullptr;
  const ButtonPaintPlan plan =
      PlanButtonPaint(state, faces, w, h, settings_.border, settings_.focusMargin);
  if (plan.face) {
    static constexpr Slot kSlotOf[] = {kNormalSlot, kDownSlot, kOverSlot, kFocusSlot, kDisabledSlot};
    PaintFace(cr, kSlotOf[static_cast<int>(*plan.face)], w, h);
  } else {
    SetSourceRgb(cr, kButtonFace);
    cairo_paint(cr);
  }
  if (plan.edge != Edge::kNone) DrawEdge(cr, w, h, plan.edge == Edge::kRaised);
  if (plan.focusRect) {
    const PixelRect& f = *plan.focusRect;
    const double dash[] = {1.0};
    cairo_save(cr);
    cairo_set_dash(cr, dash, 1, 0);
    cairo_set_line_width(cr, 1);
    SetSourceRgb(cr, 0);
    cairo_rectangle(cr, f.left + 0.5, f.top + 0.5, f.right - f.left - 1, f.bottom - f.top - 1);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  if (caption_.empty()) return;
  PangoLayout* layout = pango_layout_new(text_.For(widget_));
  pango_layout_set_text(layout, caption_.c_str(), -1);
  pango_layout_set_single_paragraph_mode(layout, TRUE);
  int textWidth = 0, textHeight = 0;
  pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
  for (const CaptionDraw& draw : plan.captions) {
    const PixelRect& r = draw.rect;
    cairo_save(cr);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
    SetSourceRgb(cr, draw.color == CaptionColor::kHighlight  ? kHighlight
               : draw.color == CaptionColor::kGrayText ? kGrayText
                                                       : ColorRefToRgb(captionColor_));
    cairo_move_to(cr, r.left + (r.right - r.left - textWidth) / 2,
                  r.top + (r.bottom - r.top - textHeight) / 2);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
  }
  g_object_unref(layout);
}

}  // namespace mc::gtk
