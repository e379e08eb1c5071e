#include "skin/win32/translucent_dialog.h"

#include <cstring>

#include "skin/window_placement.h"
#include "platform/win32/monitors.h"
#include "platform/win32/system_functions.h"

namespace mc::win32 {
namespace {

constexpr WPARAM kMoveByCaption = 0xF012;  // SC_MOVE | HTCAPTION: the system's move loop

std::unique_ptr<GdiplusBackground> AsGdiplus(std::unique_ptr<BackgroundImage> image) {
  if (auto* gdiplus = dynamic_cast<GdiplusBackground*>(image.get())) {
    image.release();
    return std::unique_ptr<GdiplusBackground>(gdiplus);
  }
  return nullptr;
}

}  // namespace

CTranslucentDialog::CTranslucentDialog(DialogTemplate dialogTemplate,
                                       std::unique_ptr<BackgroundImage> background, Window* parent)
    : Dialog(std::move(dialogTemplate), parent), background_(AsGdiplus(std::move(background))) {}

CTranslucentDialog::~CTranslucentDialog() {
  overlay_.reset();
  background_.reset();
  renderItems_.clear();
}

int CTranslucentDialog::pictureWidth() const { return background_ ? background_->width() : 0; }
int CTranslucentDialog::pictureHeight() const { return background_ ? background_->height() : 0; }

void CTranslucentDialog::OnRenderRequest(RenderItem*) {
  if (!renderRequestsSuppressed_) RenderLayered();
}

LRESULT CTranslucentDialog::OnCreate(UINT msg, WPARAM wp, LPARAM lp) {
  const int width = pictureWidth(), height = pictureHeight();
  PixelPoint corner;
  if (centre_) {
    // Centred by the size the template's frame would give the picture; the window itself gets
    // the picture's size once its caption is gone.
    RECT framed{0, 0, width, height};
    AdjustWindowRect(&framed, static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE)), FALSE);
    const RECT work = MonitorOfCursor().work;
    corner = CentreInWorkArea({work.left, work.top, work.right, work.bottom},
                              framed.right - framed.left, framed.bottom - framed.top);
  }
  if (Default(msg, wp, lp) == -1) return -1;
  overlay_ = MakeOverlayDialog();
  if (overlay_ && overlay_->CreateModeless()) ShowWindow(overlay_->hwnd(), SW_SHOW);
  const LONG style = GetWindowLongA(hwnd(), GWL_STYLE);
  SetWindowLongA(hwnd(), GWL_STYLE, (style & ~WS_CAPTION) | WS_POPUP);
  MoveWindow(hwnd(), corner.x, corner.y, width, height, TRUE);
  return 0;
}

BOOL CTranslucentDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  blend_ = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  PrepareFirstRender();
  RenderLayered();
  return TRUE;
}

bool CTranslucentDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_CREATE:
      result = OnCreate(msg, wp, lp);
      return true;
    case WM_MOVE:
      result = Default(msg, wp, lp);
      if (overlay_ && overlay_->hwnd())
        SetWindowPos(overlay_->hwnd(), nullptr, static_cast<short>(LOWORD(lp)),
                     static_cast<short>(HIWORD(lp)), 0, 0, SWP_NOZORDER | SWP_NOSIZE);
      return true;
    case WM_SIZE:
      result = Default(msg, wp, lp);
      if (overlay_ && overlay_->hwnd())
        SetWindowPos(overlay_->hwnd(), nullptr, 0, 0, LOWORD(lp), HIWORD(lp),
                     SWP_NOZORDER | SWP_NOMOVE);
      return true;
    case WM_LBUTTONDOWN:
      if (moveByDrag_) SendMessageA(hwnd(), WM_SYSCOMMAND, kMoveByCaption, 0);
      result = Default(msg, wp, lp);
      return true;
    case WM_ERASEBKGND:
      result = TRUE;
      return true;
    default:
      return Dialog::OnMessage(msg, wp, lp, result);
  }
}

void CTranslucentDialog::RenderLayered() {
  const int width = pictureWidth(), height = pictureHeight();
  const LONG exStyle = GetWindowLongA(hwnd(), GWL_EXSTYLE);
  if (!(exStyle & WS_EX_LAYERED)) SetWindowLongA(hwnd(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  ScopedWindowDC windowDc(hwnd());
  ScopedMemoryDC memoryDc(windowDc.get());
  if (!windowDc || !memoryDc) return;
  RECT placed{};
  GetWindowRect(hwnd(), &placed);
  POINT destination{placed.left, placed.top};

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>((width * 32 + 31) / 32 * 4 * height);
  void* bits = nullptr;
  ScopedBitmap surface(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!surface || !bits) return;
  std::memset(bits, 0, info.bmiHeader.biSizeImage);  // fully transparent black
  ScopedSelectObject select(memoryDc.get(), surface.get());
  {
    // Composited source-over onto transparent black, the surface holds premultiplied colour
    // with per-pixel alpha: what UpdateLayeredWindow with AC_SRC_ALPHA expects.
    Gdiplus::Graphics graphics(memoryDc.get());
    if (graphics.GetLastStatus() != Gdiplus::Ok) return;
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    graphics.DrawImage(background_->image(), 0, 0, width, height);
    for (RenderItem* item : renderItems_)
      if (item->visible()) item->Draw(graphics);
  }  // the drawing surface goes first, which also completes its drawing
  GdiFlush();
  SystemFunctions user32;
  if (!user32.updateLayeredWindow) return;
  SIZE size{width, height};
  POINT source{0, 0};
  user32.updateLayeredWindow(hwnd(), windowDc.get(), &destination, &size, memoryDc.get(), &source,
                             0, &blend_, ULW_ALPHA);
}

}  // namespace mc::win32
