// The game window's behaviour, shared by both ports: its initialisation order, its geometry
// states (maximised to the work area, restored, full screen, minimised, hidden to the tray),
// the layout of its children, its commands, the tray icon, the close and restart questions
// and the page's calls. A port window owns one GameWindow, implements GameWindowHost with
// native calls, and hands every native event to the matching On... member.
//
// Window states: the window starts maximised. Maximise and restore switch between the work
// area and the restored rectangle (computed once, then always returned to); full screen lies
// over either and returns to it; minimising is the system's; hiding to the tray keeps the
// state and shows it again unchanged (with no tray to hide to, hiding minimises). Border
// sizing and title dragging work when restored.
//
// Monitors: the work area and the screen are those of the monitor holding the window. The
// restored rectangle belongs to the monitor it was made for (its box sits at that monitor's
// top-left corner, which on a single monitor is the screen's origin): a window restored on
// another monitor gets that monitor's rectangle, made once for it in the same way.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/edge_pieces.h"
#include "game/frame_geometry.h"
#include "game/game_geometry.h"
#include "game/input_filter.h"
#include "game/script_bridge.h"
#include "game/title_buttons.h"
#include "game/title_paint.h"
#include "game/tray_icon.h"
#include "package/config_record.h"

namespace mc {

enum class GameWindowState { kRestored, kMaximized, kFullScreen, kMinimized, kHidden };

// The native side of a game window. Rectangles are in screen coordinates unless noted;
// texts are GBK. Calls arrive on the user-interface thread, from inside GameWindow's members.
class GameWindowHost {
 public:
  virtual ~GameWindowHost() = default;

  // Facts. The monitor holding the window (the one it overlaps most, else the nearest; before
  // the window is first placed, the one it will open on) and that monitor's work area. Empty
  // on a desktop that reports no monitor.
  virtual GameRect WorkArea() = 0;
  virtual GameRect MonitorRect() = 0;
  virtual GameRect WindowRect() = 0;
  // Where the window is when shown normally; differs from WindowRect while minimised.
  virtual GameRect NormalWindowRect() = 0;
  virtual GameRect ClientRectOnScreen() = 0;
  virtual GamePoint CursorPosition() = 0;
  virtual std::string ProgramPath() = 0;

  // Making the window's parts, called by Initialize in this order.
  virtual void SetWindowText(const std::string& text) = 0;
  // Decodes config/style.png and keeps it until ReleaseSprite. A failure has been shown to
  // the user (the image-reading message).
  virtual bool LoadSprite() = 0;
  // Cuts a piece out of the sprite; false when no bitmap could be made.
  virtual bool CutEdgePiece(EdgePiece piece, const SpriteCut& source) = 0;
  virtual void ReleaseSprite() = 0;
  // The browser, control id kBrowserControlId, visible, at `inWindow` (window coordinates).
  virtual bool CreateBrowser(const GameRect& inWindow) = 0;
  // In this order: navigate to "about:blank"; attach the document host handler without
  // border and scroll bars; make the script bridge the page's external object; navigate to
  // the game address; silence the browser's own dialogs; take the document for page calls.
  virtual void StartBrowser(const std::string& gameUrl) = 0;
  // The next title-bar button (its slot is the number made before it): caption, command id,
  // the three faces cut from the sprite (a face that cannot be cut is left empty), the link
  // for link buttons, the tooltip when not empty, the caption colour. Its place comes later.
  virtual bool CreateTitleButton(const TitleButtonSetup& setup) = 0;
  // Decodes config/logo.png and shows it, control id kLogoControlId, at `position` (window
  // coordinates) at the picture's own size, which goes to `size`. A failure to read has been
  // shown to the user.
  virtual bool CreateLogo(GamePoint position, GameSize& size) = 0;
  // Gives the window its own taskbar button.
  virtual void ShowInTaskbar() = 0;

  // The window.
  // Moves and sizes the window as a restored window; keeps the show state, repaints.
  virtual void MoveWindow(const GameRect& rect) = 0;
  // Shows the window (not minimised) with `rect` as its position, in `state`: kRestored,
  // kMaximized or kFullScreen. Where a window manager keeps maximised and full-screen states
  // of its own, the window is put in them, so that the desktop treats it accordingly (a full
  // screen covers panels); on Windows the window stays a normal window of that rectangle.
  virtual void PlaceWindow(const GameRect& rect, GameWindowState state) = 0;
  // Hides the window while its placement changes for full screen, so that no intermediate
  // picture is seen. A desktop that changes such states in one step keeps the window shown
  // (unmapping would end its window-manager states).
  virtual void HideWhilePlacing() = 0;
  virtual void HideWindow() = 0;
  virtual void ShowWindow() = 0;  // shows a hidden window again as it was
  virtual void MinimizeWindow() = 0;  // a hidden window is shown minimised
  virtual void InvalidateWindow() = 0;  // all of it, background erased
  // Starts the system's sizing by the mouse from the border `edge` (1 left .. 8 bottom-right).
  virtual void BeginSizing(int edge, GamePoint screen) = 0;

  // Children. Slots number the buttons made by CreateTitleButton.
  virtual void MoveBrowser(const GameRect& inWindow) = 0;  // repaints it
  virtual void RedrawBrowser() = 0;                        // at once
  virtual void MoveButton(size_t slot, const GameRect& inWindow) = 0;
  virtual void SetButtonVisible(size_t slot, bool visible) = 0;
  virtual GameRect ButtonRectOnScreen(size_t slot) = 0;
  // Replaces the button's link; ';' becomes '&' as for configured links.
  virtual void SetButtonLink(size_t slot, const std::string& url) = 0;
  virtual void SetLogoVisible(bool visible) = 0;

  // Questions, menus and the rest.
  // Owned by the window, OK and Cancel with Cancel preselected. True for OK.
  virtual bool AskOkCancel(const std::string& text, const std::string& caption) = 0;
  // A popup menu owned by the window; a chosen item comes back through OnCommand.
  virtual void PopupMenu(const std::vector<MenuItem>& items, GamePoint screen) = 0;
  // False when no notification area can show the icon; the window is then minimised instead.
  virtual bool AddTrayIcon(const TrayIconSetup& icon) = 0;
  virtual void RemoveTrayIcon() = 0;
  virtual void CleanBrowserCache() = 0;
  // Starts a new instance of the program (see RestartCommandLine); a failure is not reported.
  virtual void StartProgram() = 0;
  // Calls a function of the page with text arguments; failures are ignored.
  virtual void CallPage(const PageCall& call) = 0;
  // Ends the window's modal loop, with no question.
  virtual void EndDialog() = 0;
  // The window entered or left full screen; a browser whose page asked for full screen leaves
  // the page's own full screen with it.
  virtual void FullScreenChanged(bool /*fullScreen*/) {}
};

// Where initialisation stopped; kNone when it completed. A window that stopped stays open
// without the parts not made: it is not maximised, lays nothing out when sized, has no
// function keys and paints no title, and can still be closed with the close question.
enum class GameInitStop { kNone, kSprite, kBrowser, kButtons, kLogo };

class GameWindow {
 public:
  // `config` must outlive the window. `pathSeparator` separates the folders of ProgramPath.
  GameWindow(const ConfigRecord& config, GameWindowHost& host, char pathSeparator);

  void SetGameUrl(std::string_view url);  // kept to 255 bytes
  const std::string& gameUrl() const { return gameUrl_; }

  // Runs once the native window exists and has its icons and bold title font: moves it onto
  // the work area, sets its text, cuts the frame from the sprite, makes the browser, the
  // title-bar buttons and the logo, binds the function keys, then maximises and lays out.
  // Stops at the first part that cannot be made (see GameInitStop).
  GameInitStop Initialize();

  // State.
  GameWindowState state() const;
  bool maximized() const { return maximized_; }
  bool fullScreen() const { return fullScreen_; }
  bool initialized() const { return initialized_; }
  bool trayIconShown() const { return trayIcon_; }
  const EdgePieces& edges() const { return edges_; }
  GameSize minTrackSize() const { return minTrack_; }
  const std::optional<GameRect>& restoreRect() const { return restoreRect_; }
  const std::optional<FunctionKeyTable>& functionKeys() const { return functionKeys_; }
  const std::optional<std::string>& titleText() const { return titleText_; }
  size_t buttonCount() const { return buttons_.size(); }
  const TitleButtonSetup& button(size_t slot) const { return buttons_[slot]; }
  bool ButtonVisible(size_t slot) const { return buttonShown_[slot]; }
  bool LogoVisible() const { return logoSize_.has_value() && logoShown_; }
  std::optional<GameRect> LogoRect() const;
  // Whether a press at this client point may move the window (restored, on the title band).
  bool TitleBandDraggable(GamePoint client) const;

  // Operations.
  void MaximizeToWorkArea();
  void RestoreWindow();
  void EnterFullScreen();
  void LeaveFullScreen();
  void ToggleFullScreen();
  void LayoutChildren();
  void MinimizeWindow();
  void HideToTray();
  void ShowSettingsMenu();
  // The host's OK/Cancel question; false without asking while another is open.
  bool Ask(const std::string& text, const std::string& caption);
  void ConfirmClose();
  void ConfirmRestart();
  void ConfirmCleanCache();
  void RestartProgram();
  void EndGameWindow();
  void Run(GameCommand command);

  // Native events.
  bool OnCommand(int id);  // false: not the window's command, route it on
  void OnSize(bool minimized);
  // The monitors changed (one added, removed or resized) or their work areas did. A shown
  // maximised or full-screen window is placed again on the monitor now holding it; a restored
  // window that lies on no monitor any more comes back into its monitor's work area.
  void OnMonitorsChanged();
  void OnSizing(GameRect& proposed) const;
  // The hit test of the window's own surface; children answer for themselves.
  HitCode OnNcHitTest(GamePoint screen);
  // A press on the window's own surface outside its client area. Starts sizing from a
  // border; nothing else happens (no default processing).
  void OnNcLButtonDown(int hitCode, GamePoint screen);
  // The cursor to show; the message is always answered as handled, also when a child passed
  // it up.
  CursorShape OnSetCursor(int hitCode) const { return CursorForHitCode(hitCode); }
  // A pointer move on the window's own surface; true when it gets default processing.
  bool OnMouseMove(GamePoint client, bool leftButtonOnly);
  // Every message for the window or its children, before dispatch.
  InputRoute FilterInput(const InputEvent& event);
  // The tray icon's message; the result is the message's answer.
  int OnTrayNotify(unsigned iconId, unsigned mouseMessage);
  // The notification area holding the icon went away (its host ended, or refused the icon
  // after taking it).
  void OnTrayIconLost();
  // window.external.JsCallClient, arguments in call order.
  void OnJsCallClient(const std::vector<BridgeArg>& args);
  // Calls the page made in one go, in order. Title changes among them are drawn once, with
  // the latest title, so a page setting its title in a loop cannot keep the window busy.
  void OnJsCallClients(const std::vector<std::vector<BridgeArg>>& calls);
  // The native window is being destroyed, however it ends.
  void OnDestroy();

  GamePaintPlan PaintPlan(bool iconic, GameSize client, GameSize icon) const;

 private:
  std::string QuestionCaption();
  // Acts on one call; a title change only sets the text and returns true.
  bool ApplyJsCall(const std::vector<BridgeArg>& args);
  void ShowNewTitle();
  std::optional<size_t> FirstButton(int32_t type) const;
  void SetButtonShown(size_t slot, bool shown);
  void SetChildrenShown(bool shown);
  void ShowFromTray();
  void RemoveTrayIcon();
  GameInitStop MakeParts(const GameRect& workArea);
  // The host's work area and monitor; a desktop that reports no monitor gives the configured
  // size at the origin for both.
  GameRect CurrentWorkArea();
  GameRect CurrentScreen();

  const ConfigRecord& config_;
  GameWindowHost& host_;
  char pathSeparator_;

  std::string gameUrl_;
  EdgePieces edges_;
  std::vector<TitleButtonSetup> buttons_;
  std::vector<bool> buttonShown_;
  std::optional<GameSize> logoSize_;
  bool logoShown_ = false;
  bool hasBrowser_ = false;
  std::optional<std::string> titleText_;
  std::optional<FunctionKeyTable> functionKeys_;

  bool initialized_ = false;
  bool maximized_ = false;
  bool fullScreen_ = false;
  bool minimized_ = false;
  bool hidden_ = false;
  bool trayIcon_ = false;
  bool asking_ = false;  // a question is open
  bool ended_ = false;
  GameRect placementBeforeFullScreen_;
  GameRect fullScreenRect_;
  std::optional<GameRect> restoreRect_;
  GameRect restoreMonitor_;  // the monitor restoreRect_ was made for
  GameSize minTrack_;
  TitleDrag drag_;
};

}  // namespace mc
