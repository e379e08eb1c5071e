#include "skin/gtk/translucent_dialog.h"

#include <algorithm>

#include "platform/gtk/desktop.h"
#include "skin/window_placement.h"

namespace mc::gtk {
namespace {

std::unique_ptr<CairoBackground> AsCairo(std::unique_ptr<BackgroundImage> image) {
  if (auto* cairo = dynamic_cast<CairoBackground*>(image.get())) {
    image.release();
    return std::unique_ptr<CairoBackground>(cairo);
  }
  return nullptr;
}

// The picture's pixels with alpha of at least `minAlpha`, as a region.
CairoRegionPtr OpaquePart(cairo_surface_t* surface, uint8_t minAlpha) {
  CairoRegionPtr region(cairo_region_create());
  if (!surface) return region;
  cairo_surface_flush(surface);
  PixelRows rows;
  rows.width = cairo_image_surface_get_width(surface);
  rows.height = cairo_image_surface_get_height(surface);
  rows.bitsPerPixel = 32;
  rows.top = cairo_image_surface_get_data(surface);
  rows.stride = cairo_image_surface_get_stride(surface);
  for (const PixelRect& r : OpaqueRegion(rows, minAlpha)) {
    const cairo_rectangle_int_t rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    cairo_region_union_rectangle(region.get(), &rect);
  }
  return region;
}

}  // namespace

PixelRect NewWindowWorkArea() {
  const GdkRectangle area = AreaOf(MonitorForNewWindow(gdk_display_get_default())).workArea;
  return {area.x, area.y, area.x + area.width, area.y + area.height};
}

CTranslucentDialog::CTranslucentDialog(std::unique_ptr<BackgroundImage> background)
    : background_(AsCairo(std::move(background))),
      pictureShape_(OpaquePart(background_ ? background_->surface() : nullptr, 1)),
      solidShape_(OpaquePart(background_ ? background_->surface() : nullptr, kSolidAlpha)) {}

CTranslucentDialog::~CTranslucentDialog() {
  if (window_) gtk_widget_destroy(window_);
  overlay_.reset();
}

int CTranslucentDialog::pictureWidth() const {
  return background_ && background_->surface()
             ? cairo_image_surface_get_width(background_->surface())
             : 0;
}

int CTranslucentDialog::pictureHeight() const {
  return background_ && background_->surface()
             ? cairo_image_surface_get_height(background_->surface())
             : 0;
}

int CTranslucentDialog::DoModal() {
  if (window_) return -1;
  ended_ = false;
  result_ = kDialogCancel;
  const int width = pictureWidth(), height = pictureHeight();
  // A picture that did not decode leaves a window of no visible pixels (GTK has no 0 x 0
  // window): its shape is empty, so it neither shows nor takes input.
  const int shownWidth = std::max(width, 1), shownHeight = std::max(height, 1);

  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_decorated(GTK_WINDOW(window_), FALSE);
  AnnounceFrame(window_, true);
  gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
  gtk_widget_set_app_paintable(window_, TRUE);
  if (GdkVisual* rgba = gdk_screen_get_rgba_visual(gtk_widget_get_screen(window_)))
    gtk_widget_set_visual(window_, rgba);
  gtk_window_set_default_size(GTK_WINDOW(window_), shownWidth, shownHeight);
  if (centre_) {
    // An undecorated window has no frame: its framed size is the picture's. Under Wayland the
    // compositor places the window and this position is not used.
    const PixelPoint corner = CentreInWorkArea(NewWindowWorkArea(), width, height);
    gtk_window_move(GTK_WINDOW(window_), corner.x, corner.y);
  }
  GtkWidget* layer = gtk_fixed_new();
  gtk_widget_set_size_request(layer, shownWidth, shownHeight);
  gtk_container_add(GTK_CONTAINER(window_), layer);
  gtk_widget_add_events(window_, GDK_BUTTON_PRESS_MASK);
  g_signal_connect(window_, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(window_, "button-press-event", G_CALLBACK(OnPress), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroyed), this);
  g_signal_connect(layer, "size-allocate", G_CALLBACK(OnLayerAllocated), this);
  GdkScreen* screen = gtk_widget_get_screen(window_);
  g_signal_connect(screen, "composited-changed", G_CALLBACK(OnCompositedChanged), this);

  overlay_ = MakeOverlayDialog();
  if (overlay_) overlay_->Create(layer);
  PrepareFirstRender();
  gtk_widget_show(layer);
  gtk_widget_realize(window_);
  UpdateShape();
  if (!ended_ && window_) {
    gtk_widget_show(window_);
    loop_ = g_main_loop_new(nullptr, FALSE);
    g_main_loop_run(loop_);
    g_main_loop_unref(loop_);
    loop_ = nullptr;
  }
  if (overlay_) overlay_->layer_ = nullptr;  // goes with the window
  g_signal_handlers_disconnect_by_data(screen, this);
  if (window_) {
    g_signal_handlers_disconnect_by_data(window_, this);
    g_signal_handlers_disconnect_by_data(layer, this);
    gtk_widget_destroy(window_);
    window_ = nullptr;
  }
  return result_;
}

void CTranslucentDialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
  if (loop_) g_main_loop_quit(loop_);
}

void CTranslucentDialog::RenderLayered() {
  if (window_) gtk_widget_queue_draw(window_);
}

void CTranslucentDialog::OnRenderRequest(RenderItem*) {
  if (!renderRequestsSuppressed_) RenderLayered();
}

bool CTranslucentDialog::Blended() const {
  if (!window_) return false;
  GdkScreen* screen = gtk_widget_get_screen(window_);
  GdkVisual* rgba = gdk_screen_get_rgba_visual(screen);
  return gdk_screen_is_composited(screen) && rgba && gtk_widget_get_visual(window_) == rgba;
}

void CTranslucentDialog::UpdateShape() {
  if (!window_ || !gtk_widget_get_realized(window_)) return;
  CairoRegionPtr shape(cairo_region_copy(Blended() ? pictureShape_.get() : solidShape_.get()));
  if (overlay_ && overlay_->layer()) {
    // Controls count wherever they lie, also over transparent parts of the picture. The layer
    // has no window of its own, so their allocations are in window coordinates.
    GList* children = gtk_container_get_children(GTK_CONTAINER(overlay_->layer()));
    for (GList* c = children; c; c = c->next) {
      GtkWidget* child = GTK_WIDGET(c->data);
      if (!gtk_widget_get_visible(child)) continue;
      GtkAllocation a;
      gtk_widget_get_allocation(child, &a);
      const cairo_rectangle_int_t rect{a.x, a.y, a.width, a.height};
      cairo_region_union_rectangle(shape.get(), &rect);
    }
    g_list_free(children);
  }
  // Both shapes: a window manager that frames windows ignores an input shape alone.
  gtk_widget_shape_combine_region(window_, shape.get());
  gtk_widget_input_shape_combine_region(window_, shape.get());
}

gboolean CTranslucentDialog::OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
  auto* self = static_cast<CTranslucentDialog*>(data);
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_surface_t* picture = nullptr;
  if (self->background_) {
    picture = self->background_->surface();
    // Unblended, the shape holds only pixels at least half opaque: they show their own colours.
    if (!self->Blended() && self->background_->solid()) picture = self->background_->solid();
  }
  if (picture)
    cairo_set_source_surface(cr, picture, 0, 0);
  else
    cairo_set_source_rgba(cr, 0, 0, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
  for (RenderItem* item : self->renderItems_)
    if (item->visible()) item->Draw(cr);
  return FALSE;  // the controls are drawn next
}

gboolean CTranslucentDialog::OnPress(GtkWidget* window, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<CTranslucentDialog*>(data);
  // Presses reach the window only where no control took them.
  if (self->moveByDrag_ && event->button == 1 && event->type == GDK_BUTTON_PRESS)
    gtk_window_begin_move_drag(GTK_WINDOW(window), static_cast<gint>(event->button),
                               static_cast<gint>(event->x_root), static_cast<gint>(event->y_root),
                               event->time);
  return FALSE;
}

gboolean CTranslucentDialog::OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  static_cast<CTranslucentDialog*>(data)->EndDialog(kDialogCancel);
  return TRUE;  // destroyed when the run ends
}

void CTranslucentDialog::OnDestroyed(GtkWidget*, gpointer data) {
  // Destroyed from outside (the X window went away): the run ends as a Cancel.
  auto* self = static_cast<CTranslucentDialog*>(data);
  self->window_ = nullptr;
  if (!self->ended_) self->EndDialog(kDialogCancel);
}

void CTranslucentDialog::OnLayerAllocated(GtkWidget*, GdkRectangle*, gpointer data) {
  static_cast<CTranslucentDialog*>(data)->UpdateShape();
}

void CTranslucentDialog::OnCompositedChanged(GdkScreen*, gpointer data) {
  auto* self = static_cast<CTranslucentDialog*>(data);
  self->UpdateShape();
  self->RenderLayered();
}

}  // namespace mc::gtk
