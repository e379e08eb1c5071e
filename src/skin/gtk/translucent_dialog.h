// A window whose whole look is one PNG with per-pixel alpha, on Linux: an undecorated RGBA
// window the size of the picture, painted with the picture, with a control layer
// (CStandardDialog) above it. Where a compositor runs, the picture is blended with what is
// below and only its pixels with alpha 0 are cut out of the window's bounding and input shape.
// Without one nothing blends (half-transparent pixels would show their premultiplied colours
// over black): the shape then keeps only the pixels at least half opaque, painted in their own
// colours, so a soft shadow neither leaves a dark rim nor hides the desktop. The window follows
// the screen when compositing starts or stops. A press on any part of the shape not covered by
// a control moves the window. It opens centred in the work area of the monitor holding
// the pointer.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <vector>

#include "base/app_host.h"
#include "skin/gtk/background_image.h"
#include "platform/gtk/cairo_handles.h"
#include "skin/gtk/standard_dialog.h"
#include "skin/pixel_region.h"

namespace mc::gtk {

// Something drawn over the picture in every paint.
class RenderItem {
 public:
  virtual ~RenderItem() = default;
  virtual bool visible() const = 0;
  virtual void Draw(cairo_t* cr) = 0;
};

class IRenderListener {
 public:
  virtual ~IRenderListener() = default;
  virtual void OnRenderRequest(RenderItem* item) = 0;
};

class CTranslucentDialog : public IRenderListener {
 public:
  // Takes the background (a CairoBackground; anything else or nothing counts as a picture of
  // size 0).
  explicit CTranslucentDialog(std::unique_ptr<BackgroundImage> background);
  virtual ~CTranslucentDialog();
  CTranslucentDialog(const CTranslucentDialog&) = delete;
  CTranslucentDialog& operator=(const CTranslucentDialog&) = delete;

  // Builds the window and its layer (whose OnInitDialog runs first), shows it centred and
  // runs until EndDialog or the window is closed or destroyed; returns the result (an end
  // from outside is a Cancel). The window is destroyed before this returns.
  int DoModal();
  void EndDialog(int result);
  // The toplevel window while the dialog runs, else nullptr.
  GtkWidget* window() const { return window_; }
  CStandardDialog* overlay() const { return overlay_.get(); }
  int pictureWidth() const;
  int pictureHeight() const;

  // Paints the picture again (with the visible render items).
  void RenderLayered();
  void OnRenderRequest(RenderItem* item) override;
  // Recomputes the window's shape: the picture's non-transparent pixels and every visible
  // control of the layer. Runs by itself whenever the layer's controls are laid out.
  void UpdateShape();

 protected:
  // Makes the layer object, with this dialog as parent and `owner`, or nullptr for none.
  virtual std::unique_ptr<CStandardDialog> MakeOverlayDialog() = 0;
  // Called once before the first paint.
  virtual void PrepareFirstRender() = 0;

 private:
  static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean OnPress(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
  static void OnDestroyed(GtkWidget*, gpointer self);
  static void OnLayerAllocated(GtkWidget*, GdkRectangle*, gpointer self);
  static void OnCompositedChanged(GdkScreen*, gpointer self);
  // Whether the window's pixels are blended with what is below (a compositor and an RGBA
  // window).
  bool Blended() const;

  std::unique_ptr<CairoBackground> background_;
  CairoRegionPtr pictureShape_;  // non-transparent pixels of the picture
  CairoRegionPtr solidShape_;    // pixels at least half opaque
  bool moveByDrag_ = true;
  bool centre_ = true;
  bool renderRequestsSuppressed_ = false;
  std::unique_ptr<CStandardDialog> overlay_;
  std::vector<RenderItem*> renderItems_;  // not owned
  GtkWidget* window_ = nullptr;
  GMainLoop* loop_ = nullptr;
  bool ended_ = false;
  int result_ = kDialogCancel;
};

// The work area of the monitor a new window opens on: the one holding the pointer, else the
// first; empty when the display reports no monitor.
PixelRect NewWindowWorkArea();

}  // namespace mc::gtk
