// Windows game window benchmark (run under Wine by bench/game/run_win32.sh):
//   paint   the real CGameDialog of a branded copy of this program at 1920 x 1040: one full
//           repaint of its frame and title bar (restored: eight pieces; maximised: the band),
//           the same drawing into a memory DC (GDI alone), and the frame time of a resize drag
//           (each step: size change, layout of the children, repaint).
//   launch  exec of a branded client (firstUrl set) to its game window shown on the work area,
//           against exec to exit of this program doing nothing (the Wine floor).
// usage: game_bench_win32.exe paint  (as a branded copy)
//        game_bench_win32.exe launch CLIENT RUNS
//        game_bench_win32.exe noop
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/launcher_app.h"
#include "game/win32/game_dialog.h"
#include "game/win32/game_painter.h"
#include "platform/win32/gdi_handles.h"
#include "app/win32/port_host.h"
#include "skin/win32/dib_pixels.h"
#include "skin/win32/skin_image.h"

namespace {

using namespace mc::win32;

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// Times `body` run `n` times; the median of 5 rounds, per run, in ms.
template <class F>
double PerRun(int n, F&& body) {
  std::vector<double> rounds;
  for (int r = 0; r < 5; ++r) {
    const double start = Now();
    for (int i = 0; i < n; ++i) body(i);
    GdiFlush();
    rounds.push_back((Now() - start) / n);
  }
  return Median(rounds);
}

// The frame and title drawn into a 1920 x 1040 memory DC: what GDI costs without a window.
void MeasureGdiOnly(const mc::LauncherConfig& config, mc::AppHost& host) {
  SkinImage sprite;
  if (!LoadPackageImage(config, host, "config/style.png", sprite)) return;
  mc::EdgePieces edges;
  std::vector<ScopedBitmap> owned;
  EdgeBitmaps bitmaps{};
  for (mc::EdgePiece piece : mc::kAllEdgePieces) {
    const auto source = mc::EdgePieceSource(config.record(), piece);
    HBITMAP cut = source && mc::IsCuttable(*source)
                      ? CutBitmap(sprite.bitmap(), source->x, source->y, source->width,
                                  source->height)
                      : nullptr;
    edges.Set(piece, source, cut != nullptr);
    owned.emplace_back(cut);
    bitmaps[static_cast<size_t>(static_cast<int>(piece) - 1)] = cut;
  }
  ScopedWindowDC screen(nullptr);
  ScopedMemoryDC dc(screen.get());
  ScopedBitmap target(CreateCompatibleBitmap(screen.get(), 1920, 1040));
  ScopedSelectObject selected(dc.get(), target.get());
  LOGFONTA font{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  font.lfWeight = FW_BOLD;
  ScopedFont bold(CreateFontIndirectA(&font));
  const mc::TitlePaint title{{config.record().titlex, config.record().titley},
                             config.record().titleColor, config.record().title};
  for (const bool maximized : {false, true}) {
    const auto blits = mc::PlanEdgeBlits(edges, {1920, 1040}, maximized, false);
    std::printf("%s: frame and title drawn into a memory DC at 1920x1040 (GDI only): %.3f ms\n",
                maximized ? "maximised" : "restored", PerRun(200, [&](int) {
                  PaintEdgePieces(dc.get(), blits, bitmaps);
                  PaintTitle(dc.get(), title, bold.get());
                }));
  }
}

class BenchDialog : public CGameDialog {
 public:
  using CGameDialog::CGameDialog;

  void Measure() {
    const HWND w = hwnd();
    const auto repaint = [w](int) {
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    };
    ::MoveWindow(w, 0, 0, 1920, 1040, TRUE);
    std::printf("maximised: one repaint of the window (band, title, buttons) at 1920x1040: "
                "%.3f ms\n", PerRun(100, repaint));
    SendMessageA(w, WM_COMMAND, MAKEWPARAM(mc::kButtonCommandBase + mc::button_type::kRestore,
                                           BN_CLICKED), 0);
    ::MoveWindow(w, 0, 0, 1920, 1040, TRUE);
    std::printf("restored: one repaint of the window (eight pieces, title, buttons) at "
                "1920x1040: %.3f ms\n", PerRun(100, repaint));
    std::printf("restored: one step of a resize drag (size, layout, repaint): %.3f ms\n",
                PerRun(50, [w](int i) {
                  SetWindowPos(w, nullptr, 0, 0, 1400 + (i % 25) * 20, 800 + (i % 25) * 9,
                               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
                  UpdateWindow(w);
                }));
    EndDialog();
  }
};

BenchDialog* g_running = nullptr;  // the one dialog of the paint benchmark, for its timer

void CALLBACK MeasureOnce(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_running) g_running->Measure();
}

class BenchHost : public Win32AppHost {
 public:
  void RunGame(mc::LauncherApp& app, const std::string& address) override {
    MeasureGdiOnly(app.config, *this);
    BenchDialog dialog(app.config, *this, nullptr);
    dialog.SetGameUrl(address);
    g_running = &dialog;
    // Measured once the dialog runs, which then ends.
    SetTimer(nullptr, 0, 500, MeasureOnce);
    dialog.DoModal();
    g_running = nullptr;
  }
};

// Exec of `command` to `done` answering true, polled every millisecond; ms.
template <class F>
double ExecUntil(const std::string& command, F&& done, PROCESS_INFORMATION& process) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = command;
  const double start = Now();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return -1;
  while (!done()) {
    if (Now() - start > 30000) return -1;
    Sleep(1);
  }
  return Now() - start;
}

int Launch(const char* client, int runs) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::vector<double> shown, floor;
  for (int i = 0; i < runs; ++i) {
    PROCESS_INFORMATION process{};
    const double noop = ExecUntil(std::string("\"") + self + "\" noop", [&] {
      return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
    }, process);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const double t = ExecUntil(std::string("\"") + client + "\"", [&] {
      HWND w = FindWindowA("MicroClientGame", nullptr);
      RECT r{};
      return w && IsWindowVisible(w) && GetWindowRect(w, &r) && EqualRect(&r, &work);
    }, process);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (t < 0 || noop < 0) {
      std::printf("launch failed\n");
      return 1;
    }
    shown.push_back(t);
    floor.push_back(noop);
  }
  std::printf("exec to game window shown (firstUrl), median of %d: %.1f ms; exec to exit of a "
              "program doing nothing: %.1f ms\n", runs, Median(shown), Median(floor));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "noop") == 0) return 0;
  if (argc > 3 && std::strcmp(argv[1], "launch") == 0) return Launch(argv[2], std::atoi(argv[3]));
  if (argc > 1 && std::strcmp(argv[1], "paint") == 0) {
    BenchHost host;
    mc::LauncherApp app(host, host);
    app.InitInstance();
    host.ExitInstance();
    return 0;
  }
  std::fprintf(stderr, "usage: %s paint | launch CLIENT RUNS | noop\n", argv[0]);
  return 2;
}
