#include "launcher/win32/launcher_dialog.h"

#include "launcher/win32/launcher_dialog_template.h"
#include "package/program_name.h"
#include "platform/win32/prompts.h"
#include "skin/win32/skin_image.h"

namespace mc::win32 {
CLauncherStandardDlg::CLauncherStandardDlg(CLauncherTranslucentDlg* parent,
                                           const LauncherSession& session,
                                           UpdateStarter startUpdate)
    : CStandardDialog(LauncherLayerTemplate(), kOverlayColorKey, parent),
      session_(session),
      startUpdate_(std::move(startUpdate)) {}

CLauncherStandardDlg::~CLauncherStandardDlg() {
  // Buttons first, then the html areas, each in creation order.
  buttons_.clear();
  browsers_.clear();
}

BOOL CLauncherStandardDlg::OnInitDialog() {
  CStandardDialog::OnInitDialog();
  capture_ = GameAddressCapture();
  // The worker reports to this window; it outlives the launcher and owns its own copies.
  if (startUpdate_) startUpdate_(hwnd());
  const ConfigRecord& config = session_.config.record();
  placeholderColor_ = static_cast<COLORREF>(config.loginCenterColor);
  SetWindowTextA(hwnd(), config.title.c_str());
  if (launcherOwner) SetWindowTextA(launcherOwner->hwnd(), config.title.c_str());

  // A control that cannot be made stops the building there; the ones before it stay.
  BuildOverlayControls(BuildLauncherPlan(config), launcherOwner->pictureWidth(),
                       launcherOwner->pictureHeight(), *this);
  normalFace_.reset();
  pressedFace_.reset();
  return TRUE;
}

bool CLauncherStandardDlg::LoadButtonImage(const std::string& name, bool pressed, int& width,
                                           int& height) {
  std::unique_ptr<SkinImage>& slot = pressed ? pressedFace_ : normalFace_;
  slot = std::make_unique<SkinImage>();
  SkinImage& face = *slot;
  if (!LoadPackageImage(session_.config, session_.host, name, face)) return false;
  width = face.GetWidth();
  height = face.GetHeight();
  return true;
}

bool CLauncherStandardDlg::CreateButton(const LauncherControl& control, const ControlRect& r) {
  auto button = std::make_unique<CSkinButton>();
  const RECT rect{r.left, r.top, r.left + r.width, r.top + r.height};
  if (!button->Create("", WS_CHILD | WS_VISIBLE, rect, hwnd(), control.id)) return false;
  buttons_.push_back(std::move(button));
  return true;
}

void CLauncherStandardDlg::FinishButton(const LauncherControl& control) {
  CSkinButton& button = *buttons_.back();
  button.SetImages(normalFace_->Detach(), pressedFace_->Detach(), nullptr, nullptr, nullptr,
                   nullptr, 0, 0, 0);
  normalFace_.reset();
  pressedFace_.reset();
  button.SetLinkUrl(control.url);
  button.typeTag = static_cast<uint8_t>(control.linkType);
}

bool CLauncherStandardDlg::CreateHtmlArea(const LauncherControl& control, const ControlRect& r) {
  auto browser = std::make_unique<CWebBrowserEx>();
  const RECT rect{r.left, r.top, r.left + r.width, r.top + r.height};
  // Only the first area reports its events. Hidden until the first page is there.
  BrowserEvents* events = control.id == kFirstHtmlAreaId ? this : nullptr;
  if (!browser->Create("", WS_CHILD, rect, hwnd(), control.id, events)) return false;
  // Kept before navigating: a capture may already end the launcher inside Navigate.
  CWebBrowserEx* area = browser.get();
  browsers_.push_back(std::move(browser));
  area->Navigate("about:blank");
  area->AttachUIHandler(false);
  area->Navigate(control.url);
  return true;
}

void CLauncherStandardDlg::SetPlaceholderArea(const ControlRect& r) {
  htmlAreaRect_ = {r.left, r.top, r.left + r.width, r.top + r.height};
}

bool CLauncherStandardDlg::OnCommand(int id, int, HWND) {
  if (id == kMinimizeCommand) {
    Minimize();
    return true;
  }
  if (id == kCloseCommand) {
    CloseWithQuestion();
    return true;
  }
  return false;
}

void CLauncherStandardDlg::Minimize() {
  ShowWindow(hwnd(), SW_MINIMIZE);
  if (launcherOwner) ShowWindow(launcherOwner->hwnd(), SW_MINIMIZE);
}

void CLauncherStandardDlg::CloseWithQuestion() {
  const std::string caption =
      ProgramBaseName(session_.host.ProgramPath(), '\\', WithoutExtension::kWholeName);
  if (AskOkCancel(hwnd(), session_.config.record().closeMsg, caption)) OnOK();
}

void CLauncherStandardDlg::BeforeNavigate2(int controlId, const std::string& url, bool& cancel) {
  GameAddressCapture::Verdict verdict =
      capture_.OnBeforeNavigate(controlId, url, session_.config.record().gameheader);
  if (verdict.cancel) cancel = true;
  if (!verdict.address) return;
  session_.gameAddress = std::move(*verdict.address);
  OnOK();
}

void CLauncherStandardDlg::DocumentComplete(int controlId, const std::string& url) {
  if (!capture_.OnDocumentComplete(controlId, url)) return;
  for (const auto& browser : browsers_)
    if (browser->hwnd()) ShowWindow(browser->hwnd(), SW_SHOW);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void CLauncherStandardDlg::PaintPlaceholder() {
  if (capture_.pageLoaded()) return;
  HDC dc = GetDC(hwnd());
  if (!dc) return;
  ScopedBrush brush(CreateSolidBrush(placeholderColor_));
  if (brush) FillRect(dc, &htmlAreaRect_, brush.get());
  ReleaseDC(hwnd(), dc);
}

bool CLauncherStandardDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_PAINT) {
    // The dialog's own painting erases in the colour key; the placeholder goes over it.
    result = Default(msg, wp, lp);
    PaintPlaceholder();
    return true;
  }
  return CStandardDialog::OnMessage(msg, wp, lp, result);
}

bool CLauncherStandardDlg::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN) {
    const unsigned key = static_cast<unsigned>(msg.wParam);
    // Enter and Escape go to their target without becoming the dialog's OK or Cancel.
    if (FilterOverlayKey(key) == KeyVerdict::kDispatch) return false;
    // The keys the launcher window discards (function keys, chords) pass on to it untouched.
    if (FilterBackgroundKey(key, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0) ==
        KeyVerdict::kDiscard)
      return false;
  }
  // A page area's keys (Tab between fields, Delete, ...) go to its browser control first, as a
  // control container does, and only then to dialog navigation.
  for (const std::unique_ptr<CWebBrowserEx>& browser : browsers_) {
    if (browser->hwnd() && browser->PreTranslateMessage(&msg)) return true;
  }
  return CStandardDialog::PreTranslateMessage(msg);
}

CLauncherTranslucentDlg::CLauncherTranslucentDlg(const LauncherSession& session,
                                                 std::unique_ptr<BackgroundImage> background,
                                                 UpdateStarter startUpdate)
    : CTranslucentDialog((RegisterLauncherWindowClasses(), LauncherTemplate()),
                         std::move(background), nullptr),
      session_(session),
      startUpdate_(std::move(startUpdate)) {}

std::unique_ptr<CStandardDialog> CLauncherTranslucentDlg::MakeOverlayDialog() {
  auto overlay = std::make_unique<CLauncherStandardDlg>(this, session_, startUpdate_);
  overlay->owner = this;
  overlay->launcherOwner = this;
  overlayDlg_ = overlay.get();
  return overlay;
}

bool CLauncherTranslucentDlg::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    switch (FilterBackgroundKey(static_cast<unsigned>(msg.wParam), ctrl, shift)) {
      case KeyVerdict::kDispatch:
        return false;
      case KeyVerdict::kDiscard:
        return true;
      case KeyVerdict::kDefault:
        break;
    }
  }
  return CTranslucentDialog::PreTranslateMessage(msg);
}

}  // namespace mc::win32
