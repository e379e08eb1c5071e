#include "game/win32/game_dialog.h"

#include <windowsx.h>

#include "game/own_program.h"
#include "game/win32/game_dialog_template.h"
#include "game/win32/game_painter.h"
#include "game/win32/wininet_url_cache.h"
#include "platform/win32/monitors.h"
#include "platform/win32/prompts.h"
#include "skin/win32/dib_pixels.h"

namespace mc::win32 {
namespace {

constexpr int kIconResource = 128;
constexpr DWORD kBrowserStyle = 0x50001000;  // a visible child

GameRect ToGameRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const GameRect& r) { return {r.left, r.top, r.right, r.bottom}; }
GamePoint ToGamePoint(POINT p) { return {p.x, p.y}; }
GamePoint PointFromLParam(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

LPCSTR CursorResource(CursorShape shape) {
  switch (shape) {
    case CursorShape::kSizeWE: return IDC_SIZEWE;
    case CursorShape::kSizeNS: return IDC_SIZENS;
    case CursorShape::kSizeNWSE: return IDC_SIZENWSE;
    case CursorShape::kSizeNESW: return IDC_SIZENESW;
    case CursorShape::kArrow: break;
  }
  return IDC_ARROW;
}

HICON ProgramIcon() {
  if (HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kIconResource)))
    return icon;
  return LoadIcon(nullptr, IDI_APPLICATION);  // a program built without resources
}

// The keyboard and mouse messages the core's filter decides on; nullopt for the others.
std::optional<InputEvent> FilterEvent(const MSG& msg) {
  const GamePoint screen = ToGamePoint(msg.pt);
  switch (msg.message) {
    case WM_KEYDOWN:
      return InputEvent::KeyDown(static_cast<int>(msg.wParam));
    case WM_SYSKEYDOWN:
      return InputEvent::SysKeyDown(static_cast<int>(msg.wParam), (msg.lParam & (1 << 29)) != 0);
    case WM_RBUTTONDOWN:
      return InputEvent::Mouse(InputEvent::Kind::kRightButtonDown, screen);
    case WM_RBUTTONUP:
      return InputEvent::Mouse(InputEvent::Kind::kRightButtonUp, screen);
    case WM_LBUTTONDBLCLK:
      return InputEvent::Mouse(InputEvent::Kind::kLeftDoubleClick, screen);
    default:
      return std::nullopt;
  }
}

}  // namespace

CGameDialog::CGameDialog(const LauncherConfig& config, AppHost& app, Window* parent)
    : Dialog(GameDialogTemplate(), parent),
      config_(config),
      app_(app),
      callback_(GameDialogCallback::Create()),
      icon_(ProgramIcon()),
      taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")),
      model_(config.record(), *this, '\\') {
  RegisterGameWindowClass(icon_);
}

CGameDialog::~CGameDialog() {
  // The window and its children go first, while every object they use still exists.
  if (hwnd()) DestroyWindow(hwnd());
  tray_.Remove();
  browser_.SetExternal(nullptr);
  if (callback_) {
    callback_->SetTarget(nullptr);
    callback_->Release();
  }
}

HWND CGameDialog::buttonWindow(size_t slot) const {
  return slot < buttons_.size() ? buttons_[slot]->hwnd() : nullptr;
}

BOOL CGameDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  LOGFONTA font{};
  if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font)) {
    font.lfWeight = FW_BOLD;
    titleFont_.reset(CreateFontIndirectA(&font));
  }
  if (callback_) callback_->SetTarget(this);
  initStop_ = model_.Initialize();
  return TRUE;
}

// OK, Cancel, WM_CLOSE and the close button all ask the close question.
// After every command (a title-bar button, a menu item, a question answered) the keys go back
// to the game page: a clicked button keeps the focus otherwise, and keys stop reaching the game.
void CGameDialog::OnOK() {
  model_.OnCommand(IDOK);
  browser_.FocusPage();
}
void CGameDialog::OnCancel() {
  model_.OnCommand(IDCANCEL);
  browser_.FocusPage();
}
bool CGameDialog::OnCommand(int id, int, HWND) {
  const bool handled = model_.OnCommand(id);
  browser_.FocusPage();
  return handled;
}

bool CGameDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_CREATE:
      // The template has no title; the window carries the configured one from its creation
      // on, so it is never seen untitled while it initialises (initialisation sets it again).
      ::SetWindowTextA(hwnd(), config_.record().title.c_str());
      return false;
    case WM_PAINT:
      if (!Paint()) return false;  // full screen: default processing only
      result = 0;
      return true;
    case WM_NCHITTEST:
      result = static_cast<LRESULT>(model_.OnNcHitTest(PointFromLParam(lp)));
      return true;
    case WM_NCLBUTTONDOWN:
      model_.OnNcLButtonDown(static_cast<int>(wp), PointFromLParam(lp));
      result = 0;
      return true;
    case WM_SETCURSOR:
      SetCursor(LoadCursor(nullptr, CursorResource(model_.OnSetCursor(LOWORD(lp)))));
      result = TRUE;
      return true;
    case WM_SIZING:
      if (auto* rect = reinterpret_cast<RECT*>(lp)) {
        GameRect proposed = ToGameRect(*rect);
        model_.OnSizing(proposed);
        *rect = ToRect(proposed);
      }
      result = TRUE;
      return true;
    case WM_SIZE:
      model_.OnSize(wp == SIZE_MINIMIZED);
      result = 0;
      return true;
    case WM_DISPLAYCHANGE:
      model_.OnMonitorsChanged();
      return false;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETWORKAREA) model_.OnMonitorsChanged();
      return false;
    case WM_MOUSEMOVE:
      if (model_.OnMouseMove(PointFromLParam(lp), wp == MK_LBUTTON)) return false;
      result = 0;
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(icon_);
      return true;
    case WM_DESTROY:
      model_.OnDestroy();
      if (callback_) callback_->SetTarget(nullptr);
      return false;
    default:
      break;
  }
  if (msg == kTrayCallbackMessage) {
    result = model_.OnTrayNotify(static_cast<unsigned>(wp), static_cast<unsigned>(lp));
    return true;
  }
  if (taskbarCreated_ && msg == taskbarCreated_) {
    // The shell restarted with an empty notification area: the hidden window's icon goes back
    // in, or the window comes back minimised rather than stay hidden with no way back.
    if (model_.trayIconShown() && !tray_.Restore()) model_.OnTrayIconLost();
    result = 0;
    return true;
  }
  return Dialog::OnMessage(msg, wp, lp, result);
}

bool CGameDialog::PreTranslateMessage(MSG& msg) {
  const std::optional<InputEvent> event = FilterEvent(msg);
  if (!event) return DialogKeyProcessing(msg);
  switch (model_.FilterInput(*event)) {
    case InputRoute::kConsumed:
      return true;
    case InputRoute::kDispatch:
      return false;
    case InputRoute::kDialog:
      break;
  }
  return DialogKeyProcessing(msg);
}

bool CGameDialog::DialogKeyProcessing(MSG& msg) {
  // The page's accelerators first (as a control container does), then dialog navigation.
  if (browser_.hwnd() && browser_.PreTranslateMessage(&msg)) return true;
  return Dialog::PreTranslateMessage(msg);
}

void CGameDialog::OnJsCallClient(const std::vector<BridgeArg>& args) {
  model_.OnJsCallClient(args);
}

bool CGameDialog::Paint() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const GamePaintPlan plan =
      model_.PaintPlan(IsIconic(hwnd()) != FALSE, {client.right, client.bottom},
                       {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)});
  if (plan.kind == GamePaintPlan::Kind::kNothing) return false;
  ScopedPaint paint(hwnd());
  if (!paint.get()) return true;
  if (plan.kind == GamePaintPlan::Kind::kIcon) {
    SendMessageA(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.get()), 0);
    DrawIcon(paint.get(), plan.iconPosition.x, plan.iconPosition.y, icon_);
    return true;
  }
  EdgeBitmaps pieces{};
  for (size_t k = 0; k < pieces.size(); ++k) pieces[k] = edgeBitmaps_[k].get();
  PaintEdgePieces(paint.get(), plan.blits, pieces);
  for (const auto& button : buttons_)
    RedrawWindow(button->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  if (plan.title) PaintTitle(paint.get(), *plan.title, titleFont_.get());
  return true;
}

POINT CGameDialog::WorkspaceOffset(const RECT& screenRect) const {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromRect(&screenRect, MONITOR_DEFAULTTOPRIMARY), &info))
    return {0, 0};
  return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

// GameWindowHost -------------------------------------------------------------------------

// The monitor holding the window rather than the primary one: a window on a second monitor
// maximises, restores and goes full screen there instead of jumping to the first. A window
// not placed yet opens on the monitor holding the pointer, where the player just clicked.
MonitorRects CGameDialog::CurrentMonitor() const {
  return placed_ ? MonitorOfWindow(hwnd()) : MonitorOfCursor();
}
GameRect CGameDialog::WorkArea() { return ToGameRect(CurrentMonitor().work); }
GameRect CGameDialog::MonitorRect() { return ToGameRect(CurrentMonitor().monitor); }

GameRect CGameDialog::WindowRect() {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return ToGameRect(r);
}

GameRect CGameDialog::NormalWindowRect() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(hwnd(), &placement)) return WindowRect();
  RECT r = placement.rcNormalPosition;
  const POINT offset = WorkspaceOffset(r);
  OffsetRect(&r, offset.x, offset.y);
  return ToGameRect(r);
}

GameRect CGameDialog::ClientRectOnScreen() {
  RECT r{};
  GetClientRect(hwnd(), &r);
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return ToGameRect(r);
}

GamePoint CGameDialog::CursorPosition() {
  POINT p{};
  GetCursorPos(&p);
  return ToGamePoint(p);
}

std::string CGameDialog::ProgramPath() { return app_.ProgramPath(); }

void CGameDialog::SetWindowText(const std::string& text) { ::SetWindowTextA(hwnd(), text.c_str()); }

bool CGameDialog::LoadSprite() {
  sprite_.emplace();
  if (LoadPackageImage(config_, app_, kSpriteEntry, *sprite_)) return true;
  sprite_.reset();
  return false;
}

bool CGameDialog::CutEdgePiece(EdgePiece piece, const SpriteCut& source) {
  if (!sprite_) return false;
  ScopedBitmap& slot = edgeBitmaps_[static_cast<size_t>(static_cast<int>(piece) - 1)];
  slot.reset(CutBitmap(sprite_->bitmap(), source.x, source.y, source.width, source.height));
  return static_cast<bool>(slot);
}

void CGameDialog::ReleaseSprite() { sprite_.reset(); }

bool CGameDialog::CreateBrowser(const GameRect& inWindow) {
  return browser_.Create("", kBrowserStyle, ToRect(inWindow), hwnd(), kBrowserControlId, this);
}

void CGameDialog::StartBrowser(const std::string& gameUrl) {
  browser_.Navigate("about:blank");
  browser_.AttachUIHandler(false);  // neither a 3-D border nor scroll bars
  browser_.SetExternal(static_cast<IDispatch*>(callback_));
  browser_.Navigate(gameUrl);
  browser_.SetSilent(true);
  ComPtr<IDispatch> document;
  webPage_.AttachDocument(browser_.GetDocument(document) ? document.get() : nullptr);
}

bool CGameDialog::CreateTitleButton(const TitleButtonSetup& setup) {
  auto button = std::make_unique<CSkinButton>();
  const RECT rect{0, 0, setup.size.width, setup.size.height};
  if (!button->Create(setup.caption, WS_CHILD | WS_VISIBLE, rect, hwnd(), setup.commandId))
    return false;
  HBITMAP faces[3] = {};
  for (size_t i = 0; i < 3; ++i) {
    const SpriteCut& cut = setup.faces[i];
    if (sprite_ && IsCuttable(cut))
      faces[i] = CutBitmap(sprite_->bitmap(), cut.x, cut.y, cut.width, cut.height);
  }
  button->typeTag = static_cast<uint8_t>(setup.type);
  button->SetImages(faces[0], faces[1], faces[2], nullptr, nullptr, nullptr, 0, 0, 0);
  if (setup.link) button->SetLinkUrl(*setup.link);
  if (!setup.tip.empty()) button->SetTipText(setup.tip);
  button->SetCaptionColor(static_cast<COLORREF>(setup.captionColor) & 0xFFFFFF);
  button->indexTag = static_cast<int32_t>(setup.entryIndex);
  buttons_.push_back(std::move(button));
  return true;
}

bool CGameDialog::CreateLogo(GamePoint position, GameSize& size) {
  SkinImage image;
  if (!LoadPackageImage(config_, app_, kLogoEntry, image)) return false;
  size = {image.GetWidth(), image.GetHeight()};
  logo_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, position.x,
                          position.y, size.width, size.height, hwnd(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLogoControlId)),
                          GetModuleHandleA(nullptr), nullptr);
  if (!logo_) return false;
  // The control shows the bitmap; the window deletes it once the control is gone.
  logoBitmap_.reset(image.Detach());
  const auto previous = reinterpret_cast<HBITMAP>(SendMessageA(
      logo_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logoBitmap_.get())));
  if (previous && previous != logoBitmap_.get()) DeleteObject(previous);
  return true;
}

void CGameDialog::ShowInTaskbar() {
  SetWindowLongA(hwnd(), GWL_EXSTYLE, GetWindowLongA(hwnd(), GWL_EXSTYLE) | WS_EX_APPWINDOW);
}

void CGameDialog::MoveWindow(const GameRect& rect) {
  ::MoveWindow(hwnd(), rect.left, rect.top, rect.width(), rect.height(), TRUE);
  placed_ = true;
}

// The window stays a normal window of that rectangle in every state: the system's maximised
// state would add a frame, and the taskbar steps back by itself for a window covering its
// monitor.
void CGameDialog::PlaceWindow(const GameRect& rect, GameWindowState) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  placement.flags = 0;
  placement.showCmd = SW_SHOWNORMAL;
  placement.rcNormalPosition = ToRect(rect);
  const POINT offset = WorkspaceOffset(placement.rcNormalPosition);
  OffsetRect(&placement.rcNormalPosition, -offset.x, -offset.y);
  SetWindowPlacement(hwnd(), &placement);
  placed_ = true;
}

void CGameDialog::HideWhilePlacing() { ::ShowWindow(hwnd(), SW_HIDE); }
void CGameDialog::HideWindow() { ::ShowWindow(hwnd(), SW_HIDE); }
void CGameDialog::ShowWindow() {
  ::ShowWindow(hwnd(), SW_SHOW);
  browser_.FocusPage();
}
void CGameDialog::MinimizeWindow() { ::ShowWindow(hwnd(), SW_MINIMIZE); }
void CGameDialog::InvalidateWindow() { InvalidateRect(hwnd(), nullptr, TRUE); }

void CGameDialog::BeginSizing(int edge, GamePoint screen) {
  SendMessageA(hwnd(), WM_SYSCOMMAND, static_cast<WPARAM>(kSysCommandSize + edge),
               MAKELPARAM(screen.x, screen.y));
}

void CGameDialog::MoveBrowser(const GameRect& inWindow) {
  ::MoveWindow(browser_.hwnd(), inWindow.left, inWindow.top, inWindow.width(), inWindow.height(),
               TRUE);
}

void CGameDialog::RedrawBrowser() {
  RedrawWindow(browser_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CGameDialog::MoveButton(size_t slot, const GameRect& inWindow) {
  ::MoveWindow(buttons_[slot]->hwnd(), inWindow.left, inWindow.top, inWindow.width(),
               inWindow.height(), FALSE);
}

void CGameDialog::SetButtonVisible(size_t slot, bool visible) {
  ::ShowWindow(buttons_[slot]->hwnd(), visible ? SW_SHOW : SW_HIDE);
}

GameRect CGameDialog::ButtonRectOnScreen(size_t slot) {
  RECT r{};
  GetWindowRect(buttons_[slot]->hwnd(), &r);
  return ToGameRect(r);
}

void CGameDialog::SetButtonLink(size_t slot, const std::string& url) {
  buttons_[slot]->SetLinkUrl(url);
}

void CGameDialog::SetLogoVisible(bool visible) {
  if (logo_) ::ShowWindow(logo_, visible ? SW_SHOW : SW_HIDE);
}

bool CGameDialog::AskOkCancel(const std::string& text, const std::string& caption) {
  return win32::AskOkCancel(hwnd(), text, caption);
}

void CGameDialog::PopupMenu(const std::vector<MenuItem>& items, GamePoint screen) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  for (const MenuItem& item : items)
    AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(static_cast<UINT>(item.id)),
                item.text.c_str());
  // A menu closes when the user clicks elsewhere only if its owner is in the foreground
  // (the tray icon's menu is opened for a hidden window).
  SetForegroundWindow(hwnd());
  TrackPopupMenu(menu, 0, screen.x, screen.y, 0, hwnd(), nullptr);
  PostMessageA(hwnd(), WM_NULL, 0, 0);
  DestroyMenu(menu);
  browser_.FocusPage();  // a dismissed menu; a chosen item comes back as a command
}

bool CGameDialog::AddTrayIcon(const TrayIconSetup& icon) { return tray_.Add(hwnd(), icon_, icon); }
void CGameDialog::RemoveTrayIcon() { tray_.Remove(); }

void CGameDialog::CleanBrowserCache() {
  WinInetUrlCache cache;
  CleanUrlCache(cache);
}

void CGameDialog::StartProgram() {
  std::string commandLine = RestartCommandLine(ProgramPath());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

void CGameDialog::CallPage(const PageCall& call) {
  // The page shown now, which is not the document the browser had when the window was made.
  ComPtr<IDispatch> document;
  if (browser_.GetDocument(document)) webPage_.AttachDocument(document.get());
  webPage_.CallScriptFunction(call.function, nullptr, call.args);
}

void CGameDialog::EndDialog() { Dialog::EndDialog(IDOK); }

}  // namespace mc::win32
