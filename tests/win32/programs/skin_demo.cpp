// The skinned window toolkit on its own, on Windows: a translucent dialog of a package's
// launcher background with its colour-keyed overlay carrying skin buttons, over an optional
// solid backdrop window that reports the presses reaching it. Facts go to the log, one a line:
//   work L T R B / framed W H  the work area and the picture's size with the template's frame
//   at X Y W H                 the translucent window's rectangle (after every change)
//   overlay X Y W H            the overlay's rectangle (after every change)
//   ready                      the dialog runs and shows its first render
//   command ID                 a button click
//   backdrop-press X Y         a press reached the backdrop (screen coordinates)
//   result N                   the dialog's modal run ended with N
// Buttons (picture coordinates) as in the Linux demo: link 201 at (620, 92), style button 185
// at (600, 31), disabled captioned 190 at (620, 268), red 191 shaped by a half-keyed mask
// (30 x 20 at (300, 40)), close 203 at (698, 31).
//
// usage: skin_demo.exe CONFIG-DIR LOG-FILE [--link URL] [--backdrop RRGGBB]
#include <winsock2.h>
#include <windows.h>
#include <gdiplus.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "skin/win32/dib_pixels.h"
#include "skin/win32/gdiplus_background.h"
#include "skin/win32/skin_button.h"
#include "skin/win32/skin_image.h"
#include "skin/win32/standard_dialog.h"
#include "skin/win32/translucent_dialog.h"

namespace {

using namespace mc::win32;

constexpr UINT kReadyMessage = WM_APP + 1;

struct Options {
  std::string config;
  std::string link;
  bool backdrop = false;
  COLORREF backdropColor = 0;
};

FILE* logFile = nullptr;  // the demo's one output channel

void Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(logFile, format, args);
  va_end(args);
  std::fputc('\n', logFile);
  std::fflush(logFile);
}

void LogRect(const char* what, HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  Log("%s %ld %ld %ld %ld", what, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

HBITMAP LoadBitmapFile(const std::string& path, int* width = nullptr, int* height = nullptr) {
  const std::vector<uint8_t> png = ReadFile(path);
  SkinImage image;
  if (!LoadImageFromMemory(image, png.data(), png.size())) {
    Log("cannot load %s", path.c_str());
    return nullptr;
  }
  if (width) *width = image.GetWidth();
  if (height) *height = image.GetHeight();
  return image.Detach();
}

class DemoOverlay : public CStandardDialog {
 public:
  DemoOverlay(Window* parent, const Options& options)
      : CStandardDialog(DialogTemplate::InMemory(WS_POPUP | WS_VISIBLE | WS_SYSMENU, 0, 100, 100),
                        RGB(0, 255, 0), parent),
        options_(options) {}

 protected:
  BOOL OnInitDialog() override {
    CStandardDialog::OnInitDialog();
    const std::string dir = options_.config + "\\";
    int w = 0, h = 0;

    HBITMAP normal = LoadBitmapFile(dir + "1_n.png", &w, &h);
    auto link = std::make_unique<CSkinButton>();
    if (!link->Create("", WS_CHILD | WS_VISIBLE, {620, 92, 620 + w, 92 + h}, hwnd(), 201)) return TRUE;
    link->SetImages(normal, LoadBitmapFile(dir + "1_d.png"), nullptr, nullptr, nullptr, nullptr, 0, 0, 0);
    link->SetLinkUrl(options_.link);
    buttons_.push_back(std::move(link));

    // Three stacked faces of 28 x 22, 2 pixels apart, as the game window cuts them.
    HBITMAP sprite = LoadBitmapFile(dir + "style.png");
    auto styled = std::make_unique<CSkinButton>();
    styled->Create("", WS_CHILD | WS_VISIBLE, {600, 31, 628, 53}, hwnd(), 185);
    styled->SetImages(CutBitmap(sprite, 0, 0, 28, 22), CutBitmap(sprite, 0, 24, 28, 22),
                      CutBitmap(sprite, 0, 48, 28, 22), nullptr, nullptr, nullptr, 0, 0, 0);
    DeleteObject(sprite);
    styled->SetTipText("\xB9\xD8\xB1\xD5");  // 关闭 in GBK
    buttons_.push_back(std::move(styled));

    auto captioned = std::make_unique<CSkinButton>();
    captioned->Create("OK", WS_CHILD | WS_VISIBLE, {620, 268, 720, 344}, hwnd(), 190);
    captioned->SetImages(LoadBitmapFile(dir + "3_n.png"), LoadBitmapFile(dir + "3_d.png"), nullptr,
                         nullptr, nullptr, nullptr, 1, 0, 0);
    captioned->SetCaptionColor(RGB(255, 0, 0));
    EnableWindow(captioned->hwnd(), FALSE);
    buttons_.push_back(std::move(captioned));

    // A red face shaped by a mask whose left half is the key colour.
    mc::SkinPixels face, mask;
    face.Create(30, 20, 32);
    mask.Create(30, 20, 32);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x) {
        face.Row(y)[x * 4 + 2] = 255;
        if (x < 15) mask.Row(y)[x * 4] = 255, mask.Row(y)[x * 4 + 2] = 255;
      }
    auto masked = std::make_unique<CSkinButton>();
    masked->Create("", WS_CHILD | WS_VISIBLE, {300, 40, 360, 100}, hwnd(), 191);
    masked->SetImages(CreateBitmapFromPixels(face), nullptr, nullptr, nullptr, nullptr,
                      CreateBitmapFromPixels(mask), 0, 0, 0);
    buttons_.push_back(std::move(masked));

    HBITMAP closeNormal = LoadBitmapFile(dir + "7_n.png", &w, &h);
    auto close = std::make_unique<CSkinButton>();
    close->Create("", WS_CHILD | WS_VISIBLE, {698, 31, 698 + w, 31 + h}, hwnd(), 203);
    close->SetImages(closeNormal, LoadBitmapFile(dir + "7_d.png"), nullptr, nullptr, nullptr,
                     nullptr, 0, 0, 0);
    buttons_.push_back(std::move(close));
    return TRUE;
  }

  bool OnCommand(int id, int code, HWND) override {
    if (code != BN_CLICKED) return false;
    Log("command %d", id);
    if (id == 203) OnOK();
    return true;
  }

  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg != WM_WINDOWPOSCHANGED) return CStandardDialog::OnMessage(msg, wp, lp, result);
    result = Default(msg, wp, lp);
    LogRect("overlay", hwnd());
    return true;
  }

 private:
  const Options& options_;
  std::vector<std::unique_ptr<CSkinButton>> buttons_;
};

class DemoDialog : public CTranslucentDialog {
 public:
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

  DemoDialog(std::unique_ptr<mc::BackgroundImage> background, const Options& options)
      : CTranslucentDialog(DialogTemplate::InMemory(kStyle, 0, 200, 100, "skin demo"),
                           std::move(background), nullptr),
        options_(options) {}

 protected:
  std::unique_ptr<CStandardDialog> MakeOverlayDialog() override {
    auto overlay = std::make_unique<DemoOverlay>(this, options_);
    overlay->owner = this;
    return overlay;
  }
  void PrepareFirstRender() override { PostMessageA(hwnd(), kReadyMessage, 0, 0); }

  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg == kReadyMessage) {
      Log("ready");
      result = 0;
      return true;
    }
    if (msg != WM_WINDOWPOSCHANGED) return CTranslucentDialog::OnMessage(msg, wp, lp, result);
    result = Default(msg, wp, lp);  // sends WM_MOVE and WM_SIZE, which place the overlay
    LogRect("at", hwnd());
    return true;
  }

 private:
  const Options& options_;
};

LRESULT CALLBACK BackdropProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  // Like a desktop, the backdrop stays below when clicked.
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  if (msg == WM_LBUTTONDOWN) {
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    ClientToScreen(hwnd, &p);
    Log("backdrop-press %ld %ld", p.x, p.y);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// A plain window of one colour over the whole work area, shown before the dialog.
HWND ShowBackdrop(COLORREF color) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = BackdropProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = CreateSolidBrush(color);
  wc.lpszClassName = "SkinDemoBackdrop";
  RegisterClassA(&wc);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "backdrop", WS_POPUP | WS_VISIBLE, work.left,
                              work.top, work.right - work.left, work.bottom - work.top, nullptr,
                              nullptr, wc.hInstance, nullptr);
  UpdateWindow(hwnd);
  return hwnd;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  Options options;
  options.config = __argv[1];
  logFile = std::fopen(__argv[2], "ab");  // "\n" line ends, as the scripts read them
  if (!logFile) return 2;
  for (int i = 3; i + 1 < __argc; i += 2) {
    const std::string flag = __argv[i];
    if (flag == "--link") options.link = __argv[i + 1];
    if (flag == "--backdrop") {
      options.backdrop = true;
      const unsigned long rgb = std::strtoul(__argv[i + 1], nullptr, 16);
      options.backdropColor = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
  }
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  Log("work %ld %ld %ld %ld", work.left, work.top, work.right, work.bottom);
  HWND backdrop = options.backdrop ? ShowBackdrop(options.backdropColor) : nullptr;
  INT_PTR result = 0;
  {
    auto background = DecodeBackgroundGdiplus(ReadFile(options.config + "\\main1.png"));
    RECT framed{0, 0, background ? background->width() : 0, background ? background->height() : 0};
    AdjustWindowRect(&framed, DemoDialog::kStyle, FALSE);
    Log("framed %ld %ld", framed.right - framed.left, framed.bottom - framed.top);
    DemoDialog dialog(std::move(background), options);
    result = dialog.DoModal();
  }
  Log("result %d", static_cast<int>(result));
  if (backdrop) DestroyWindow(backdrop);
  Gdiplus::GdiplusShutdown(token);
  std::fclose(logFile);
  return 0;
}
