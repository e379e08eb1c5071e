// Windows skin benchmark (under Wine in run.sh): decoding the launcher background and the
// style sprite, the time from opening a translucent dialog to its first composed frame on
// screen, and the cost of one render of the layered window (RenderLayered: compose with GDI+,
// UpdateLayeredWindow).
// usage: skin_bench_win32.exe BACKGROUND.png STYLE.png [ITERATIONS]
#include <winsock2.h>
#include <windows.h>
#include <gdiplus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "platform/win32/gdi_handles.h"
#include "skin/win32/gdiplus_background.h"
#include "skin/win32/skin_image.h"
#include "skin/win32/standard_dialog.h"
#include "skin/win32/translucent_dialog.h"

namespace {

using namespace mc::win32;
using Clock = std::chrono::steady_clock;

constexpr UINT kShownMessage = WM_APP + 2;

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

void Report(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  std::printf("windows: %-42s median %8.3f ms  min %8.3f ms  (%zu runs)\n", what,
              samples[samples.size() / 2], samples.front(), samples.size());
  std::fflush(stdout);
}

std::vector<double> Time(int iterations, const std::function<void()>& body) {
  std::vector<double> samples;
  for (int i = 0; i < iterations; ++i) {
    const Clock::time_point start = Clock::now();
    body();
    samples.push_back(Ms(start, Clock::now()));
  }
  return samples;
}

std::vector<uint8_t> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

// GDI+ decodes an image's pixels when it is first drawn: decode and draw once onto a 32-bit
// surface, as the first render does.
bool DecodeAndDraw(const std::vector<uint8_t>& png) {
  auto image = DecodeBackgroundGdiplus(png);
  if (!image || image->width() == 0) return false;
  ScopedMemoryDC dc(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), image->width(), image->height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  ScopedBitmap surface(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ScopedSelectObject select(dc.get(), surface.get());
  Gdiplus::Graphics graphics(dc.get());
  return graphics.DrawImage(image->image(), 0, 0, image->width(), image->height()) == Gdiplus::Ok;
}

// Ends itself once shown (its first render is done in WM_INITDIALOG), or first runs `work`.
class BenchDialog : public CTranslucentDialog {
 public:
  BenchDialog(std::unique_ptr<mc::BackgroundImage> background, std::function<void(BenchDialog&)> work)
      : CTranslucentDialog(DialogTemplate::InMemory(WS_POPUP | WS_CAPTION, 0, 200, 100),
                           std::move(background), nullptr),
        work_(std::move(work)) {}
  Clock::time_point shown;

 protected:
  std::unique_ptr<CStandardDialog> MakeOverlayDialog() override {
    auto overlay = std::make_unique<CStandardDialog>(
        DialogTemplate::InMemory(WS_POPUP | WS_VISIBLE, 0, 100, 100), RGB(0, 255, 0), this);
    overlay->owner = this;
    return overlay;
  }
  void PrepareFirstRender() override { PostMessageA(hwnd(), kShownMessage, 0, 0); }
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg != kShownMessage) return CTranslucentDialog::OnMessage(msg, wp, lp, result);
    GdiFlush();
    shown = Clock::now();
    if (work_) work_(*this);
    EndDialog(IDOK);
    result = 0;
    return true;
  }

 private:
  std::function<void(BenchDialog&)> work_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s BACKGROUND.png STYLE.png [ITERATIONS]\n", argv[0]);
    return 2;
  }
  const int iterations = argc > 3 ? std::atoi(argv[3]) : 30;
  const std::vector<uint8_t> background = ReadFile(argv[1]), style = ReadFile(argv[2]);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);

  Report("background decode (GDI+, drawn once)", Time(iterations, [&] {
           if (!DecodeAndDraw(background)) std::exit(1);
         }));
  {
    SkinImage keepDecoderStarted;  // as during a window's initialisation
    Report("style sprite decode (skin bitmap)", Time(iterations * 10, [&] {
             SkinImage image;
             if (!LoadImageFromMemory(image, style.data(), style.size())) std::exit(1);
           }));
  }

  std::vector<double> firstFrames;
  for (int i = 0; i < iterations; ++i) {
    // Decoded (lazily, as GDI+ does) before the window opens; the first render draws it.
    auto decoded = DecodeBackgroundGdiplus(background);
    const Clock::time_point start = Clock::now();
    BenchDialog dialog(std::move(decoded), nullptr);
    dialog.DoModal();
    firstFrames.push_back(Ms(start, dialog.shown));
  }
  Report("open to first composed frame on screen", firstFrames);

  std::vector<double> renders;
  BenchDialog live(DecodeBackgroundGdiplus(background), [&](BenchDialog& dialog) {
    renders = Time(iterations * 10, [&] {
      dialog.RenderLayered();
      GdiFlush();
    });
  });
  live.DoModal();
  Report("one render of the layered window", renders);
  Gdiplus::GdiplusShutdown(token);
  return 0;
}
