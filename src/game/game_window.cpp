#include "game/game_window.h"

#include <algorithm>

#include "game/desktop_geometry.h"
#include "game/frame_layout.h"
#include "game/own_program.h"
#include "package/gbk.h"
#include "package/program_name.h"

namespace mc {

namespace {

constexpr size_t kGameUrlField = 256;

GameSize SizeOf(const GameRect& rect) { return {rect.width(), rect.height()}; }

}  // namespace

GameWindow::GameWindow(const ConfigRecord& config, GameWindowHost& host, char pathSeparator)
    : config_(config), host_(host), pathSeparator_(pathSeparator) {}

void GameWindow::SetGameUrl(std::string_view url) { gameUrl_ = CutToField(url, kGameUrlField); }

GameInitStop GameWindow::Initialize() {
  const GameRect workArea = CurrentWorkArea();
  host_.MoveWindow(workArea);
  minTrack_ = MinTrackSize(workArea, config_.minGameWidth, config_.minGameHeight);
  host_.SetWindowText(config_.title);

  if (!host_.LoadSprite()) return GameInitStop::kSprite;
  // The sprite is only needed while the pieces and button faces are cut.
  const GameInitStop stop = MakeParts(workArea);
  host_.ReleaseSprite();
  if (stop != GameInitStop::kNone) return stop;

  GameSize logo;
  if (!host_.CreateLogo({config_.logx, config_.logy}, logo)) return GameInitStop::kLogo;
  logoSize_ = logo;
  logoShown_ = true;

  titleText_ = CutToField(config_.title, kTitleTextField);
  host_.ShowInTaskbar();
  functionKeys_ = BindFunctionKeys(config_);
  initialized_ = true;
  MaximizeToWorkArea();
  LayoutChildren();
  return GameInitStop::kNone;
}

GameInitStop GameWindow::MakeParts(const GameRect& workArea) {
  for (EdgePiece piece : kAllEdgePieces) {
    const std::optional<SpriteCut> source = EdgePieceSource(config_, piece);
    const bool cut = source && IsCuttable(*source) && host_.CutEdgePiece(piece, *source);
    edges_.Set(piece, source, cut);
  }
  if (!host_.CreateBrowser(InitialBrowserRect(SizeOf(workArea), edges_)))
    return GameInitStop::kBrowser;
  hasBrowser_ = true;
  host_.StartBrowser(gameUrl_);
  for (TitleButtonSetup& setup : TitleButtonSetups(config_)) {
    if (!host_.CreateTitleButton(setup)) return GameInitStop::kButtons;
    buttons_.push_back(std::move(setup));
    buttonShown_.push_back(true);
  }
  return GameInitStop::kNone;
}

GameRect GameWindow::CurrentWorkArea() {
  const GameRect area = host_.WorkArea();
  if (area.width() > 0 && area.height() > 0) return area;
  // A desktop that reports no monitor: the window takes the configured size rather than none.
  return {0, 0, std::max(config_.minGameWidth, 0), std::max(config_.minGameHeight, 0)};
}

GameRect GameWindow::CurrentScreen() {
  const GameRect monitor = host_.MonitorRect();
  return monitor.width() > 0 && monitor.height() > 0 ? monitor : CurrentWorkArea();
}

GameWindowState GameWindow::state() const {
  if (hidden_) return GameWindowState::kHidden;
  if (minimized_) return GameWindowState::kMinimized;
  if (fullScreen_) return GameWindowState::kFullScreen;
  return maximized_ ? GameWindowState::kMaximized : GameWindowState::kRestored;
}

std::optional<GameRect> GameWindow::LogoRect() const {
  if (!logoSize_) return std::nullopt;
  return mc::LogoRect({config_.logx, config_.logy}, *logoSize_);
}

bool GameWindow::TitleBandDraggable(GamePoint client) const {
  return !maximized_ && !fullScreen_ && client.y < edges_.TitleHeight();
}

std::optional<size_t> GameWindow::FirstButton(int32_t type) const {
  for (size_t slot = 0; slot < buttons_.size(); ++slot)
    if (buttons_[slot].type == type) return slot;
  return std::nullopt;
}

void GameWindow::SetButtonShown(size_t slot, bool shown) {
  buttonShown_[slot] = shown;
  host_.SetButtonVisible(slot, shown);
}

void GameWindow::SetChildrenShown(bool shown) {
  for (size_t slot = 0; slot < buttons_.size(); ++slot) SetButtonShown(slot, shown);
  if (logoSize_) {
    logoShown_ = shown;
    host_.SetLogoVisible(shown);
  }
}

void GameWindow::MaximizeToWorkArea() {
  maximized_ = true;
  // In full screen the window's own buttons are hidden; a bound key that asks for the
  // maximised state leaves full screen into it instead of half leaving it.
  if (fullScreen_) return LeaveFullScreen();
  const GameRect workArea = CurrentWorkArea();
  if (const auto restore = FirstButton(button_type::kRestore)) SetButtonShown(*restore, true);
  if (const auto maximize = FirstButton(button_type::kMaximize)) SetButtonShown(*maximize, false);
  host_.PlaceWindow(workArea, GameWindowState::kMaximized);
}

void GameWindow::RestoreWindow() {
  maximized_ = false;
  if (fullScreen_) return LeaveFullScreen();
  const GameRect monitor = host_.MonitorRect();
  if (!restoreRect_ || restoreMonitor_ != monitor) {
    const GameRect centred =
        InitialRestoreRect(CurrentWorkArea(), config_.minGameWidth, config_.minGameHeight);
    restoreRect_ = OffsetRect(centred, monitor.left, monitor.top);
    restoreMonitor_ = monitor;
  }
  if (const auto restore = FirstButton(button_type::kRestore)) SetButtonShown(*restore, false);
  if (const auto maximize = FirstButton(button_type::kMaximize)) SetButtonShown(*maximize, true);
  host_.MoveWindow(*restoreRect_);
}

void GameWindow::EnterFullScreen() {
  if (fullScreen_) return;
  placementBeforeFullScreen_ = host_.NormalWindowRect();
  fullScreenRect_ = FullScreenRect(host_.WindowRect(), host_.ClientRectOnScreen(), CurrentScreen());
  SetChildrenShown(false);
  if (hasBrowser_) host_.MoveBrowser({0, 0, fullScreenRect_.width(), fullScreenRect_.height()});
  host_.HideWhilePlacing();
  // Set before the window moves, so the size change it causes lays nothing out.
  fullScreen_ = true;
  host_.PlaceWindow(fullScreenRect_, GameWindowState::kFullScreen);
  host_.FullScreenChanged(true);
}

void GameWindow::LeaveFullScreen() {
  if (!fullScreen_) return;
  SetChildrenShown(true);
  fullScreen_ = false;
  host_.MoveWindow(placementBeforeFullScreen_);
  host_.HideWhilePlacing();
  host_.PlaceWindow(placementBeforeFullScreen_, GameWindowState::kRestored);
  if (maximized_) {
    MaximizeToWorkArea();
  } else {
    RestoreWindow();
  }
  // The browser still covers the screen; lay it out even if the window kept its size and
  // so reports no size change.
  if (initialized_) LayoutChildren();
  host_.FullScreenChanged(false);
}

void GameWindow::ToggleFullScreen() {
  if (fullScreen_) {
    LeaveFullScreen();
  } else {
    EnterFullScreen();
  }
}

void GameWindow::LayoutChildren() {
  std::vector<ButtonAnchor> anchors;
  anchors.reserve(buttons_.size());
  for (const TitleButtonSetup& button : buttons_) anchors.push_back({button.offset, button.size});
  const ChildLayout layout =
      ComputeChildLayout(SizeOf(host_.WindowRect()), maximized_, fullScreen_, edges_, anchors);
  for (size_t slot = 0; slot < buttons_.size(); ++slot)
    host_.MoveButton(slot, layout.buttons[slot]);
  if (hasBrowser_) host_.MoveBrowser(layout.browser);
  host_.InvalidateWindow();
}

void GameWindow::MinimizeWindow() {
  host_.MinimizeWindow();
  minimized_ = true;
}

void GameWindow::HideToTray() {
  // Without an icon there would be no way back to a hidden window: it goes out of sight
  // through the taskbar instead.
  if (!trayIcon_ && !host_.AddTrayIcon(TrayIconFor(config_))) return MinimizeWindow();
  trayIcon_ = true;
  host_.HideWindow();
  hidden_ = true;
}

void GameWindow::ShowFromTray() {
  if (hidden_) {
    host_.ShowWindow();
    hidden_ = false;
  }
  RemoveTrayIcon();
}

void GameWindow::OnTrayIconLost() {
  if (!trayIcon_ || ended_) return;
  RemoveTrayIcon();
  if (!hidden_) return;
  // Nothing would bring a hidden window back: it waits on the taskbar instead.
  hidden_ = false;
  MinimizeWindow();
}

void GameWindow::RemoveTrayIcon() {
  if (!trayIcon_) return;
  host_.RemoveTrayIcon();
  trayIcon_ = false;
}

void GameWindow::ShowSettingsMenu() {
  const auto settings = FirstButton(button_type::kSettings);
  if (!settings) return;
  host_.PopupMenu(SettingsMenuItems(config_),
                  SettingsMenuAnchor(host_.ButtonRectOnScreen(*settings)));
}

std::string GameWindow::QuestionCaption() {
  // A program name without an extension gives the questions no caption.
  return ProgramBaseName(host_.ProgramPath(), pathSeparator_, WithoutExtension::kEmpty);
}

bool GameWindow::Ask(const std::string& text, const std::string& caption) {
  // One question at a time: the question's own loop still delivers commands (a tray menu's
  // click storm, a page), and each would otherwise open another question inside it. A request
  // while one is open does nothing.
  if (asking_) return false;
  asking_ = true;
  const bool ok = host_.AskOkCancel(text, caption);
  asking_ = false;
  return ok;
}

void GameWindow::ConfirmClose() {
  if (Ask(config_.closeMsg, QuestionCaption())) EndGameWindow();
}

void GameWindow::ConfirmRestart() {
  if (!Ask(config_.closeMsg, QuestionCaption())) return;
  RestartProgram();
  EndGameWindow();
}

void GameWindow::ConfirmCleanCache() {
  if (Ask(config_.clearFlashMsg, config_.clearFlashTitle)) host_.CleanBrowserCache();
}

void GameWindow::RestartProgram() {
  if (!ended_) host_.StartProgram();
}

void GameWindow::EndGameWindow() {
  if (ended_) return;
  ended_ = true;
  RemoveTrayIcon();
  host_.EndDialog();
}

void GameWindow::Run(GameCommand command) {
  // Once the window has ended, queued commands and page calls must not act again (a second
  // restart would start a second program).
  if (ended_) return;
  switch (command) {
    case GameCommand::kNone:
      break;
    case GameCommand::kConfirmClose:
      ConfirmClose();
      break;
    case GameCommand::kMaximize:
      MaximizeToWorkArea();
      break;
    case GameCommand::kMinimize:
      MinimizeWindow();
      break;
    case GameCommand::kHideToTray:
      HideToTray();
      break;
    case GameCommand::kRestore:
      RestoreWindow();
      break;
    case GameCommand::kShowSettingsMenu:
      ShowSettingsMenu();
      break;
    case GameCommand::kConfirmRestart:
      ConfirmRestart();
      break;
    case GameCommand::kConfirmCleanCache:
      ConfirmCleanCache();
      break;
    case GameCommand::kToggleFullScreen:
      ToggleFullScreen();
      break;
  }
}

bool GameWindow::OnCommand(int id) {
  const GameCommand command = CommandForId(id);
  if (command == GameCommand::kNone) return false;
  Run(command);
  return true;
}

void GameWindow::OnSize(bool minimized) {
  minimized_ = minimized;
  if (!initialized_) return;
  if (!fullScreen_ && !minimized) LayoutChildren();
  if (hasBrowser_) host_.RedrawBrowser();
}

void GameWindow::OnSizing(GameRect& proposed) const { ClampSizingRect(proposed, minTrack_); }

void GameWindow::OnMonitorsChanged() {
  if (!initialized_ || ended_) return;
  const GameRect monitor = host_.MonitorRect();
  if (monitor.width() <= 0 || monitor.height() <= 0) return;  // nowhere to go
  const GameRect window = host_.WindowRect();
  if (!maximized_ && !fullScreen_) {
    // Moving keeps the show state, so this is safe for a hidden or minimised window too.
    if (!Overlaps(window, monitor))
      host_.MoveWindow(MoveIntoWorkArea(window, CurrentWorkArea()));
    return;
  }
  // Placing shows the window, so one out of sight is left where it is.
  if (hidden_ || minimized_) return;
  if (!fullScreen_) {
    if (window != CurrentWorkArea()) MaximizeToWorkArea();
    return;
  }
  const GameRect rect = FullScreenRect(window, host_.ClientRectOnScreen(), CurrentScreen());
  if (rect == window) return;
  fullScreenRect_ = rect;
  if (hasBrowser_) host_.MoveBrowser({0, 0, rect.width(), rect.height()});
  host_.PlaceWindow(rect, GameWindowState::kFullScreen);
}

HitCode GameWindow::OnNcHitTest(GamePoint screen) {
  return FrameHitTest(screen, host_.WindowRect(), edges_, maximized_, fullScreen_);
}

void GameWindow::OnNcLButtonDown(int hitCode, GamePoint screen) {
  if (const int edge = SizingEdgeForHitCode(hitCode)) host_.BeginSizing(edge, screen);
}

bool GameWindow::OnMouseMove(GamePoint client, bool leftButtonOnly) {
  const std::optional<GameRect> to =
      drag_.MouseMove(client, leftButtonOnly, !maximized_ && !fullScreen_, edges_.TitleHeight(),
                      host_.WindowRect());
  if (!to) return true;
  host_.MoveWindow(*to);
  return false;
}

InputRoute GameWindow::FilterInput(const InputEvent& event) {
  InputContext context;
  context.functionKeys = functionKeys_ ? &*functionKeys_ : nullptr;
  context.maximized = maximized_;
  context.fullScreen = fullScreen_;
  context.titleHeight = edges_.TitleHeight();
  if (event.kind == InputEvent::Kind::kLeftDoubleClick)
    context.windowTop = host_.NormalWindowRect().top;
  const InputDecision decision = DecideInput(event, context);
  if (decision.pageCall && hasBrowser_ && !ended_) host_.CallPage(*decision.pageCall);
  Run(decision.command);
  return decision.route;
}

int GameWindow::OnTrayNotify(unsigned iconId, unsigned mouseMessage) {
  switch (TrayActionFor(iconId, mouseMessage)) {
    case TrayAction::kNotOurs:
      return 1;
    case TrayAction::kShowWindow:
      ShowFromTray();
      break;
    case TrayAction::kShowMenu:
      host_.PopupMenu({TrayIconFor(config_).closeItem}, host_.CursorPosition());
      break;
    case TrayAction::kNone:
      break;
  }
  return 0;
}

void GameWindow::OnJsCallClient(const std::vector<BridgeArg>& args) {
  if (ApplyJsCall(args)) ShowNewTitle();
}

void GameWindow::OnJsCallClients(const std::vector<std::vector<BridgeArg>>& calls) {
  bool newTitle = false;
  for (const std::vector<BridgeArg>& args : calls) newTitle = ApplyJsCall(args) || newTitle;
  if (newTitle) ShowNewTitle();
}

bool GameWindow::ApplyJsCall(const std::vector<BridgeArg>& args) {
  if (ended_) return false;
  BridgeCommand command = DispatchJsCall(args);
  switch (command.kind) {
    case BridgeCommand::Kind::kNone:
      break;
    case BridgeCommand::Kind::kEndWindow:
      EndGameWindow();
      break;
    case BridgeCommand::Kind::kRestart:
      RestartProgram();
      EndGameWindow();
      break;
    case BridgeCommand::Kind::kSetRechargeLink:
      if (const auto recharge = FirstButton(button_type::kRechargeLink)) {
        buttons_[*recharge].link = command.value;
        host_.SetButtonLink(*recharge, command.value);
      }
      break;
    case BridgeCommand::Kind::kSetTitle:
      titleText_ = PageTitle(config_.title, command.value);
      return true;
  }
  return false;
}

void GameWindow::ShowNewTitle() {
  if (ended_) return;
  LayoutChildren();
  if (hasBrowser_) host_.RedrawBrowser();
}

void GameWindow::OnDestroy() { RemoveTrayIcon(); }

GamePaintPlan GameWindow::PaintPlan(bool iconic, GameSize client, GameSize icon) const {
  GamePaintPlan plan;
  if (iconic) {
    plan.kind = GamePaintPlan::Kind::kIcon;
    plan.iconPosition = IconPosition(client, icon);
    return plan;
  }
  if (fullScreen_) return plan;  // kNothing
  plan.kind = GamePaintPlan::Kind::kFrame;
  plan.blits = PlanEdgeBlits(edges_, client, maximized_, fullScreen_);
  if (titleText_)
    plan.title = TitlePaint{{config_.titlex, config_.titley}, config_.titleColor, *titleText_};
  return plan;
}

}  // namespace mc
