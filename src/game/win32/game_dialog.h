// CGameDialog: the game window of the Windows port. A frameless popup dialog (template 107)
// that draws its own border and title bar from pieces of config/style.png, hosts the game page
// in the WebBrowser control (child 170) with the script bridge as the page's window.external,
// carries skin buttons on its title bar (180 + type) and the logo (300), and sizes itself
// through border zones of its own.
//
// Everything the window decides is the core's GameWindow; this class only turns messages into
// GameWindow calls and carries out GameWindowHost with Win32 calls. Its modal loop offers every
// queued message of the window and its children (the page included) to the core's input
// filter before the dialog's own key handling and the page's accelerators see it.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/app_host.h"
#include "platform/win32/monitors.h"
#include "browser/browser_events.h"
#include "browser/win32/web_browser_ex.h"
#include "game/game_window.h"
#include "game/win32/game_dialog_callback.h"
#include "game/win32/tray_icon.h"
#include "game/win32/web_page.h"
#include "package/launcher_config.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/window_base.h"
#include "skin/win32/skin_button.h"
#include "skin/win32/skin_image.h"

namespace mc::win32 {

class CGameDialog : public Dialog,
                    protected GameWindowHost,
                    private JsCallTarget,
                    private BrowserEvents {
 public:
  // `config` (the open package and its record) and `app` outlive the window.
  CGameDialog(const LauncherConfig& config, AppHost& app, Window* parent);
  ~CGameDialog() override;

  // The game address, kept to 255 bytes; set once before DoModal.
  void SetGameUrl(std::string_view url) { model_.SetGameUrl(url); }

  const GameWindow& model() const { return model_; }
  // Where initialisation stopped (kNone when it completed).
  GameInitStop initStop() const { return initStop_; }
  // The page's window.external (null only when memory ran out).
  IDispatch* external() const { return callback_; }
  HWND browserWindow() const { return browser_.hwnd(); }
  HWND buttonWindow(size_t slot) const;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool PreTranslateMessage(MSG& msg) override;

  // GameWindowHost: the native side of the core's window.
  GameRect WorkArea() override;
  GameRect MonitorRect() override;
  GameRect WindowRect() override;
  GameRect NormalWindowRect() override;
  GameRect ClientRectOnScreen() override;
  GamePoint CursorPosition() override;
  std::string ProgramPath() override;
  void SetWindowText(const std::string& text) override;
  bool LoadSprite() override;
  bool CutEdgePiece(EdgePiece piece, const SpriteCut& source) override;
  void ReleaseSprite() override;
  bool CreateBrowser(const GameRect& inWindow) override;
  void StartBrowser(const std::string& gameUrl) override;
  bool CreateTitleButton(const TitleButtonSetup& setup) override;
  bool CreateLogo(GamePoint position, GameSize& size) override;
  void ShowInTaskbar() override;
  void MoveWindow(const GameRect& rect) override;
  void PlaceWindow(const GameRect& rect, GameWindowState state) override;
  void HideWhilePlacing() override;
  void HideWindow() override;
  void ShowWindow() override;
  void MinimizeWindow() override;
  void InvalidateWindow() override;
  void BeginSizing(int edge, GamePoint screen) override;
  void MoveBrowser(const GameRect& inWindow) override;
  void RedrawBrowser() override;
  void MoveButton(size_t slot, const GameRect& inWindow) override;
  void SetButtonVisible(size_t slot, bool visible) override;
  GameRect ButtonRectOnScreen(size_t slot) override;
  void SetButtonLink(size_t slot, const std::string& url) override;
  void SetLogoVisible(bool visible) override;
  bool AskOkCancel(const std::string& text, const std::string& caption) override;
  void PopupMenu(const std::vector<MenuItem>& items, GamePoint screen) override;
  bool AddTrayIcon(const TrayIconSetup& icon) override;
  void RemoveTrayIcon() override;
  void CleanBrowserCache() override;
  void StartProgram() override;
  void CallPage(const PageCall& call) override;
  void EndDialog() override;

 private:
  // JsCallTarget
  void OnJsCallClient(const std::vector<BridgeArg>& args) override;

  // False when the window paints nothing of its own (full screen).
  bool Paint();
  bool DialogKeyProcessing(MSG& msg);
  // Offset of the work area within its monitor: window placements are in work-area
  // coordinates, everything else in screen coordinates.
  POINT WorkspaceOffset(const RECT& screenRect) const;
  // The monitor placements use: the window's own once placed, the pointer's before.
  MonitorRects CurrentMonitor() const;

  const LauncherConfig& config_;
  AppHost& app_;
  GameDialogCallback* callback_;  // one reference held; released last
  HICON icon_;
  UINT taskbarCreated_;  // the message the shell broadcasts when it (re)starts
  bool placed_ = false;  // placed once: before that the window is on no monitor of its own
  GameWindow model_;
  GameInitStop initStop_ = GameInitStop::kNone;

  ScopedFont titleFont_;
  std::optional<SkinImage> sprite_;  // only while the pieces and faces are cut
  std::array<ScopedBitmap, 8> edgeBitmaps_;
  ScopedBitmap logoBitmap_;  // shown by the logo control, deleted after it
  HWND logo_ = nullptr;
  CWebBrowserEx browser_;
  CWebPage webPage_;
  std::vector<std::unique_ptr<CSkinButton>> buttons_;
  TrayIcon tray_;
};

}  // namespace mc::win32
