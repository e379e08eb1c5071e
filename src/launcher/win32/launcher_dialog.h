// The launcher on Windows: the layered picture (CLauncherTranslucentDlg) and the colour-keyed
// layer over it (CLauncherStandardDlg) that carries what the link records ask for: link,
// minimise and close buttons and web page areas. The first area's navigations are watched for
// the game address; the first document it completes reveals every area. Closing (after the
// close question) or a captured address ends the modal run of the picture.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "launcher/launcher_session.h"
#include "browser/browser_events.h"
#include "browser/win32/web_browser_ex.h"
#include "launcher/launcher_plan.h"
#include "launcher/launcher_window_rules.h"
#include "launcher/overlay_build.h"
#include "skin/win32/skin_image.h"
#include "skin/win32/skin_button.h"
#include "skin/win32/standard_dialog.h"
#include "skin/win32/translucent_dialog.h"

namespace mc::win32 {

class CLauncherTranslucentDlg;

// Starts the update check; given the window that receives its result message.
using UpdateStarter = std::function<void(HWND notifyWindow)>;

class CLauncherStandardDlg : public CStandardDialog,
                             private BrowserEvents,
                             private OverlayBuildHost {
 public:
  CLauncherStandardDlg(CLauncherTranslucentDlg* parent, const LauncherSession& session,
                       UpdateStarter startUpdate);
  ~CLauncherStandardDlg() override;

  CLauncherTranslucentDlg* launcherOwner = nullptr;

  bool PreTranslateMessage(MSG& msg) override;
  bool pageLoaded() const { return capture_.pageLoaded(); }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  // BrowserEvents of the first html area.
  void BeforeNavigate2(int controlId, const std::string& url, bool& cancel) override;
  void DocumentComplete(int controlId, const std::string& url) override;

  // OverlayBuildHost: the controls, made in link order.
  bool LoadButtonImage(const std::string& name, bool pressed, int& width, int& height) override;
  bool CreateButton(const LauncherControl& control, const ControlRect& rect) override;
  void FinishButton(const LauncherControl& control) override;
  bool CreateHtmlArea(const LauncherControl& control, const ControlRect& rect) override;
  void SetPlaceholderArea(const ControlRect& rect) override;
  void Minimize();
  void CloseWithQuestion();
  void PaintPlaceholder();

  LauncherSession session_;
  UpdateStarter startUpdate_;
  COLORREF placeholderColor_ = 0;
  std::vector<std::unique_ptr<CSkinButton>> buttons_;
  std::vector<std::unique_ptr<CWebBrowserEx>> browsers_;
  GameAddressCapture capture_;
  RECT htmlAreaRect_{};
  // The faces of the button being built; images live only while the controls are built.
  std::unique_ptr<SkinImage> normalFace_, pressedFace_;
};

class CLauncherTranslucentDlg : public CTranslucentDialog {
 public:
  // Registers the launcher's window classes when needed.
  CLauncherTranslucentDlg(const LauncherSession& session, std::unique_ptr<BackgroundImage> background,
                          UpdateStarter startUpdate);

  bool PreTranslateMessage(MSG& msg) override;
  CLauncherStandardDlg* launcherOverlay() const { return overlayDlg_; }

 protected:
  std::unique_ptr<CStandardDialog> MakeOverlayDialog() override;
  void PrepareFirstRender() override {}

 private:
  LauncherSession session_;
  UpdateStarter startUpdate_;
  CLauncherStandardDlg* overlayDlg_ = nullptr;  // owned by the base
};

}  // namespace mc::win32
