// CGameDialog on Linux: the game window. An undecorated GtkWindow whose only child is a
// GtkLayout covering it; the layout paints the border and title band (GameFramePainter) and
// holds the web view, the title-bar buttons and the logo at window coordinates. The window
// behaves as the shared model (game/game_window.h) decides: this class turns GDK events into
// GameWindow calls and carries out GameWindowHost with GTK calls, nothing more.
//
// How Windows mechanisms map here:
//  - geometry: GamePlacement carries out the model's moves and states on the desktop at hand
//    (bare X11, a window manager, Wayland);
//  - hit test and border sizing: a press on the layout's own surface is hit-tested by the
//    model; on bare X11 a border press starts a sizing loop of our own (the pointer is held by
//    the press), so every proposed rectangle passes the model's clamp as WM_SIZING would;
//    elsewhere the system sizes the window from that border, kept to the model's minimum;
//  - title dragging: on bare X11 the model's drag rule on pointer moves, with client points
//    taken from the root coordinates and the rectangle last asked for, so moves never feed back
//    on themselves; elsewhere a press the model finds on the draggable band starts the
//    system's move;
//  - the message filter: the window's key-press handler runs before the focus widget (the page
//    included) sees a key; an "event" handler on each child with a window of its own (the web
//    view, the buttons) and on the layout sees mouse buttons before the child does;
//  - WM_SIZE: sent at once when the window is moved to a new size, as Windows does inside
//    MoveWindow; sizes set from outside (a window manager) arrive through configure events;
//  - WM_DISPLAYCHANGE: the screen's monitors-changed signal;
//  - WM_COMMAND from buttons and menus, and tray messages: posted to the main loop, so no
//    command runs inside the emission of the widget that reported it.
#pragma once

#include <gtk/gtk.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/app_host.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/ui_thread.h"
#include "browser/gtk/web_browser_ex.h"
#include "game/border_sizing.h"
#include "game/double_click.h"
#include "game/game_window.h"
#include "game/gtk/game_dialog_callback.h"
#include "game/gtk/game_frame_painter.h"
#include "game/gtk/game_placement.h"
#include "game/gtk/game_prompts.h"
#include "game/gtk/game_tray_icon.h"
#include "package/launcher_config.h"
#include "skin/gtk/skin_button.h"
#include "skin/gtk/skin_image.h"
#include "skin/gtk/skin_text.h"

namespace mc::gtk {

inline constexpr char kGameWindowRole[] = "game";

class CGameDialog : private GameWindowHost {
 public:
  // `config` and `app` must outlive the dialog.
  // The page's view is made in `webContext` (not owned; null: WebKit's default).
  CGameDialog(const LauncherConfig& config, AppHost& app, WebKitWebContext* webContext = nullptr);
  ~CGameDialog() override;
  CGameDialog(const CGameDialog&) = delete;
  CGameDialog& operator=(const CGameDialog&) = delete;

  void SetGameUrl(const std::string& url) { model_.SetGameUrl(url); }

  // Makes and initialises the window, then runs until it ends (the close question answered
  // with OK, the page's end or restart call, or the window destroyed from outside). A window
  // whose initialisation stopped stays open with what was made, in the system's frame so that
  // it can still be moved and closed. Returns where initialisation stopped.
  GameInitStop DoModal();

  GtkWidget* window() const { return window_; }
  const GameWindow& model() const { return model_; }

 private:
  // GameWindowHost.
  GameRect WorkArea() override;
  GameRect MonitorRect() override;
  GameRect WindowRect() override { return placement_.rect(); }
  GameRect NormalWindowRect() override { return placement_.rect(); }
  GameRect ClientRectOnScreen() override { return placement_.rect(); }
  GamePoint CursorPosition() override;
  std::string ProgramPath() override { return app_.ProgramPath(); }
  void SetWindowText(const std::string& text) override;
  bool LoadSprite() override;
  bool CutEdgePiece(EdgePiece piece, const SpriteCut& source) override;
  void ReleaseSprite() override { sprite_.Destroy(); }
  bool CreateBrowser(const GameRect& inWindow) override;
  void StartBrowser(const std::string& gameUrl) override;
  bool CreateTitleButton(const TitleButtonSetup& setup) override;
  bool CreateLogo(GamePoint position, GameSize& size) override;
  void ShowInTaskbar() override;
  void MoveWindow(const GameRect& rect) override;
  void PlaceWindow(const GameRect& rect, GameWindowState state) override;
  // GTK's desktops change states in one step; unmapping would end the window's states.
  void HideWhilePlacing() override {}
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
  void RemoveTrayIcon() override { tray_.Remove(); }
  void CleanBrowserCache() override;
  void StartProgram() override;
  void CallPage(const PageCall& call) override;
  void EndDialog() override;
  void FullScreenChanged(bool fullScreen) override;

  // GTK signal handlers (static trampolines, `self` is the dialog).
  static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean OnLayoutEvent(GtkWidget*, GdkEvent* event, gpointer self);
  static gboolean OnChildEvent(GtkWidget* child, GdkEvent* event, gpointer self);
  static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
  // A page's own full-screen requests: they enter and leave the window's full screen.
  static gboolean OnPageEnterFullScreen(WebKitWebView*, gpointer self);
  static gboolean OnPageLeaveFullScreen(WebKitWebView*, gpointer self);
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
  static void OnWindowDestroyed(GtkWidget*, gpointer self);
  static gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer self);
  static gboolean OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self);
  static gboolean OnSettle(gpointer self);
  static void OnMonitorsChanged(GdkScreen*, gpointer self);

  void BuildWindow();
  bool LayoutEvent(const GdkEvent& event);
  bool ChildEvent(GtkWidget* child, const GdkEvent& event);
  bool ButtonEvent(GtkWidget* button, const GdkEvent& event);
  // A pointer move with the band pressed, where the system moves the window.
  void SystemMoveEvent(const GdkEventMotion& motion, GamePoint screen);
  bool IsDoubleClick(GtkWidget* widget, const GdkEventButton& press);
  bool TitleDoubleClick(GamePoint screen);
  void Sizing(GamePoint pointer);
  void EndPointerOperation();
  void SetCursor(CursorShape shape);
  void ScheduleSettle();
  void TakeGeometry(const GameRect& seen);
  GamePoint ClientPoint(GamePoint screen) const {
    const GameRect& r = placement_.rect();
    return {screen.x - r.left, screen.y - r.top};
  }
  bool Inside(GamePoint screen) const {
    const GameRect& r = placement_.rect();
    return screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom;
  }
  // Runs `task` from the main loop unless the window has ended by then.
  void Post(std::function<void()> task) noexcept;
  // Post, with the event being dispatched now as commandEvent_ while the task runs.
  void PostWithEvent(std::function<void()> task) noexcept;
  void PostCommand(int id) noexcept;

  const LauncherConfig& config_;
  AppHost& app_;
  WebKitWebContext* webContext_;
  GameDialogCallback callback_;  // outlives the browser, which hands it to the page
  GameWindow model_;

  GtkWidget* window_ = nullptr;  // one reference of ours
  GtkWidget* layout_ = nullptr;  // owned by the window
  GtkWidget* logo_ = nullptr;    // owned by the layout
  std::unique_ptr<CWebBrowserEx> browser_;
  std::vector<std::unique_ptr<CSkinButton>> buttons_;
  std::vector<GameRect> buttonRects_;  // window coordinates, as laid out
  SkinImage sprite_;
  GameFramePainter painter_;
  SkinTextContext titleText_;  // the title's context, at the skin's resolution
  GObjectPtr<GdkPixbuf> icon_;
  GameTrayIcon tray_;
  GamePopupMenu menu_;
  std::array<GObjectPtr<GdkCursor>, 5> cursors_;
  std::optional<CursorShape> cursorShown_;
  GMainLoop* loop_ = nullptr;

  GamePlacement placement_;
  GdkScreen* screen_ = nullptr;  // its monitors-changed signal is ours until the dialog ends
  PointerPress press_;           // the left press being handled
  bool iconified_ = false;
  // While a posted command or tray click runs: the event that asked for it.
  std::shared_ptr<GdkEvent> commandEvent_;
  bool ended_ = false;
  bool windowGone_ = false;  // destroyed from outside
  bool pageFullScreen_ = false;  // the page shows an element full screen
  guint settleTimer_ = 0;

  BorderSizing sizing_;
  bool pressOnClient_ = false;  // a left press on the title band, held (a system move not
                                // yet started, where the system moves the window)

  // Windows turns the second press of a double-click into a double-click message, so the
  // widget below never sees that press; GDK delivers it as a press first. The last left press
  // on the window's own surface or a button tells whether the next one completes a double-click.
  DoubleClickTracker clicks_;
  GtkWidget* swallowRelease_ = nullptr;  // the release of a press taken as a double-click

  Lifetime alive_ = NewLifetime();  // expires with the dialog
};

}  // namespace mc::gtk
