// The launcher on Linux: one undecorated RGBA window showing the launcher picture
// (CLauncherTranslucentDlg) with a control layer over it (CLauncherStandardDlg) that carries
// what the link records ask for: link, minimise and close buttons and web page areas. The
// picture and its buttons are on screen first: the web areas (and with them WebKit's context,
// processes and stores) and the update check start once the window has painted its first
// frame. The first area's navigations are watched for the game address; the first page it
// completes reveals every area. Closing (after the close question) or a captured address ends
// the run.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "launcher/launcher_session.h"
#include "browser/browser_events.h"
#include "browser/gtk/web_browser_ex.h"
#include "launcher/launcher_plan.h"
#include "launcher/launcher_window_rules.h"
#include "launcher/overlay_build.h"
#include "skin/gtk/skin_image.h"
#include "skin/gtk/skin_button.h"
#include "skin/gtk/standard_dialog.h"
#include "skin/gtk/translucent_dialog.h"

namespace mc::gtk {

class CLauncherTranslucentDlg;

// Starts the update check; given the window that receives its result.
using UpdateStarter = std::function<void(GtkWidget* notifyWindow)>;
// The web context the html areas are made in, made when first asked for (null: WebKit's
// default).
using WebContextSource = std::function<WebKitWebContext*()>;

class CLauncherStandardDlg : public CStandardDialog,
                             private BrowserEvents,
                             private OverlayBuildHost {
 public:
  CLauncherStandardDlg(CTranslucentDialog* parent, const LauncherSession& session,
                       WebContextSource webContext, UpdateStarter startUpdate);
  ~CLauncherStandardDlg() override;

  CLauncherTranslucentDlg* launcherOwner = nullptr;

  // The commands of the minimise and close buttons.
  void Minimize();
  void CloseWithQuestion();
  bool pageLoaded() const { return capture_.pageLoaded(); }

 protected:
  bool OnInitDialog() override;

 private:
  // BrowserEvents of the first html area.
  void BeforeNavigate2(int controlId, const std::string& url, bool& cancel) override;
  void DocumentComplete(int controlId, const std::string& url) override;

  // OverlayBuildHost: the controls, made in link order.
  bool LoadButtonImage(const std::string& name, bool pressed, int& width, int& height) override;
  bool CreateButton(const LauncherControl& control, const ControlRect& rect) override;
  void FinishButton(const LauncherControl& control) override;
  bool CreateHtmlArea(const LauncherControl& control, const ControlRect& rect) override;
  void SetPlaceholderArea(const ControlRect& rect) override { htmlAreaRect_ = rect; }
  void OnButton(int id);
  GtkWindow* toplevel() const;
  // The web areas and the update check: started once, after the first frame.
  void StartPages();
  bool StartHtmlArea(const LauncherControl& control, const ControlRect& rect, GtkWidget* box);

  // An html area whose box is in place and whose view is made after the first frame.
  struct PendingArea {
    LauncherControl control;
    ControlRect rect;
    GtkWidget* box;  // owned by the layer
  };

  static gboolean OnLayerDraw(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean OnFirstDraw(GtkWidget* window, cairo_t*, gpointer self);
  static gboolean OnPagesDue(gpointer self);

  LauncherSession session_;
  WebContextSource webContext_;
  UpdateStarter startUpdate_;
  std::vector<PendingArea> pendingAreas_;
  bool pagesStarted_ = false;
  guint pagesDue_ = 0;  // the fallback timer, for a window that never paints
  uint32_t placeholderColor_ = 0;  // 0x00BBGGRR
  std::vector<std::unique_ptr<CSkinButton>> buttons_;
  std::vector<std::unique_ptr<CWebBrowserEx>> browsers_;
  std::vector<GtkWidget*> areaBoxes_;  // boxes of the areas on the picture, owned by the layer
  GameAddressCapture capture_;
  ControlRect htmlAreaRect_;
  SkinImage normalFace_, pressedFace_;  // of the button being built
};

class CLauncherTranslucentDlg : public CTranslucentDialog {
 public:
  CLauncherTranslucentDlg(const LauncherSession& session, std::unique_ptr<BackgroundImage> background,
                          WebContextSource webContext, UpdateStarter startUpdate);

  CLauncherStandardDlg* launcherOverlay() const { return overlayDlg_; }

 protected:
  std::unique_ptr<CStandardDialog> MakeOverlayDialog() override;
  void PrepareFirstRender() override {}

 private:
  LauncherSession session_;
  WebContextSource webContext_;
  UpdateStarter startUpdate_;
  CLauncherStandardDlg* overlayDlg_ = nullptr;  // owned by the base
};

}  // namespace mc::gtk
