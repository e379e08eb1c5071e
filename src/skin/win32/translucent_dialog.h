// A window whose whole look is one PNG with per-pixel alpha, and the colour-keyed dialog that
// lies over it and carries the controls.
//
// CTranslucentDialog turns its dialog into a layered captionless popup the size of the
// picture and shows the picture with UpdateLayeredWindow, so transparent pixels show (and
// pass clicks to) what is below. At WM_CREATE it makes its overlay (a CStandardDialog of a
// derived class's choosing) and centres itself in the work area of the monitor holding the
// pointer; from then on it keeps the overlay over itself on every move and size. A press on
// any part the overlay leaves uncovered drags the pair. The overlay's OK and Cancel close both.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "base/app_host.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/window_base.h"
#include "skin/win32/gdiplus_background.h"
#include "skin/win32/standard_dialog.h"

namespace mc::win32 {

// Something drawn over the picture in every render pass.
class RenderItem {
 public:
  virtual ~RenderItem() = default;
  virtual bool visible() const = 0;
  virtual void Draw(Gdiplus::Graphics& surface) = 0;
};

class IRenderListener {
 public:
  virtual ~IRenderListener() = default;
  virtual void OnRenderRequest(RenderItem* item) = 0;
};

class CTranslucentDialog : public Dialog, public IRenderListener {
 public:
  // Takes the background (a GdiplusBackground; anything else or nothing counts as a picture of
  // size 0). The template's style, caption included, enters the centring.
  CTranslucentDialog(DialogTemplate dialogTemplate, std::unique_ptr<BackgroundImage> background,
                     Window* parent);
  ~CTranslucentDialog() override;

  // Composes the picture (and visible render items) onto a 32-bit surface and shows it with
  // per-pixel alpha. Skipped, with everything it made released, when the surface, GDI+ or
  // UpdateLayeredWindow is unavailable.
  void RenderLayered();
  void OnRenderRequest(RenderItem* item) override;
  CStandardDialog* overlay() const { return overlay_.get(); }
  int pictureWidth() const;
  int pictureHeight() const;

 protected:
  // Makes the overlay object (not its window), with this dialog as parent and `owner`, or
  // nullptr for none. Called once, while this window is being created.
  virtual std::unique_ptr<CStandardDialog> MakeOverlayDialog() = 0;
  // Called once during WM_INITDIALOG before the first render.
  virtual void PrepareFirstRender() = 0;

  BOOL OnInitDialog() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  LRESULT OnCreate(UINT msg, WPARAM wp, LPARAM lp);

  BLENDFUNCTION blend_{};
  std::unique_ptr<GdiplusBackground> background_;
  bool moveByDrag_ = true;
  bool centre_ = true;
  bool renderRequestsSuppressed_ = false;
  std::unique_ptr<CStandardDialog> overlay_;
  std::vector<RenderItem*> renderItems_;  // not owned
};

}  // namespace mc::win32
