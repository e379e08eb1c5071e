// Game window benchmark of the Linux port.
//
// usage: game_bench_gtk paint CONFIG_DIR [ITERATIONS]
//          One full repaint of the frame and title bar at 1920 x 1040 (maximised and restored),
//          onto an off-screen surface with the window's painter: the cost of the window's own
//          drawing, without the children.
//        game_bench_gtk resize BRANDED PAGE_URL [STEPS]
//          The real game window of the branded package on the display, on PAGE_URL, restored,
//          then sized by its right border in STEPS pointer moves of 2 pixels: for each move, the
//          time from handling the move to the end of the next painted frame (paced by the frame
//          clock), and the work of that frame itself (layout of the children, the web view's
//          resize and the whole window's paint).
#include <gtk/gtk.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/edge_pieces.h"
#include "game/gtk/game_dialog.h"
#include "game/gtk/game_frame_painter.h"
#include "package/config_record.h"
#include "package/ini_document.h"
#include "app/gtk/port_host.h"
#include "package/gtk/mapped_file.h"
#include "skin/gtk/png_decoder.h"
#include "skin/gtk/skin_image.h"

namespace {

using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

void Report(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  double sum = 0;
  for (double s : samples) sum += s;
  std::printf("%-34s n=%zu  median %.1f us  mean %.1f us  p95 %.1f us  max %.1f us\n", what,
              samples.size(), samples[samples.size() / 2], sum / samples.size(),
              samples[samples.size() * 95 / 100], samples.back());
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

int Paint(const std::string& dir, int iterations) {
  std::vector<uint8_t> text, png;
  mc::IniDocument ini;
  mc::ConfigRecord config;
  mc::SkinPixels sprite;
  if (!ReadFile(dir + "/cg.txt", text) ||
      !ini.Load(reinterpret_cast<const char*>(text.data()), text.size()) ||
      !mc::ParseConfig(
          ini, [] { return std::string(); }, config) ||
      !ReadFile(dir + "/style.png", png) ||
      !mc::gtk::DecodePngToSkin(png.data(), png.size(), sprite)) {
    std::fprintf(stderr, "cannot read %s\n", dir.c_str());
    return 1;
  }
  mc::gtk::GameFramePainter painter;
  mc::EdgePieces edges;
  for (mc::EdgePiece piece : mc::kAllEdgePieces) {
    const auto source = mc::EdgePieceSource(config, piece);
    bool cut = false;
    if (source && mc::IsCuttable(*source)) {
      const mc::gtk::SkinBitmap bitmap =
          mc::gtk::CutBitmap(sprite, source->x, source->y, source->width, source->height);
      cut = bitmap && painter.SetPiece(piece, *bitmap);
    }
    edges.Set(piece, source, cut);
  }
  const mc::GameSize size{1920, 1040};
  mc::gtk::CairoSurfacePtr surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.width, size.height));
  mc::gtk::CairoPtr cr(cairo_create(surface.get()));
  PangoContext* text_context = pango_font_map_create_context(pango_cairo_font_map_get_default());
  for (bool maximized : {true, false}) {
    mc::GamePaintPlan plan;
    plan.kind = mc::GamePaintPlan::Kind::kFrame;
    plan.blits = mc::PlanEdgeBlits(edges, size, maximized, false);
    plan.title = mc::TitlePaint{{config.titlex, config.titley}, config.titleColor, config.title};
    for (int i = 0; i < 20; ++i) painter.Paint(cr.get(), plan, text_context);  // warm up
    std::vector<double> samples;
    for (int i = 0; i < iterations; ++i) {
      const auto start = Clock::now();
      painter.Paint(cr.get(), plan, text_context);
      cairo_surface_flush(surface.get());
      samples.push_back(Micros(Clock::now() - start));
    }
    Report(maximized ? "frame+title 1920x1040, maximised" : "frame+title 1920x1040, restored",
           samples);
  }
  g_object_unref(text_context);
  return 0;
}

// The Linux host, reading the package from the given branded file instead of itself.
class BenchHost : public mc::gtk::GtkAppHost {
 public:
  explicit BenchHost(std::string path) : path_(std::move(path)) {}
  std::unique_ptr<mc::MappedFile> MapProgramFile(mc::MapError& error) override {
    return mc::gtk::MapFile(path_, error);
  }

 private:
  std::string path_;
};

struct ResizeRun {
  mc::gtk::CGameDialog* dialog = nullptr;
  int steps = 0;
  int step = 0;
  int x = 0, y = 0;
  Clock::time_point moved;
  Clock::time_point frameStart;
  bool waiting = false;
  std::vector<double> latency;  // the move handled to its frame painted
  std::vector<double> work;     // the frame's own phases: update, layout, paint
};

GdkEvent* PointerEvent(GdkEventType type, GtkWidget* layout, int x, int y) {
  GdkWindow* surface = gtk_layout_get_bin_window(GTK_LAYOUT(layout));
  GdkEvent* event = gdk_event_new(type);
  GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
  gdk_event_set_device(event, gdk_seat_get_pointer(seat));
  gint ox = 0, oy = 0;
  gdk_window_get_origin(surface, &ox, &oy);
  if (type == GDK_MOTION_NOTIFY) {
    event->motion.window = GDK_WINDOW(g_object_ref(surface));
    event->motion.x_root = x;
    event->motion.y_root = y;
    event->motion.x = x - ox;
    event->motion.y = y - oy;
    event->motion.state = GDK_BUTTON1_MASK;
    event->motion.time = GDK_CURRENT_TIME;
  } else {
    event->button.window = GDK_WINDOW(g_object_ref(surface));
    event->button.button = 1;
    event->button.x_root = x;
    event->button.y_root = y;
    event->button.x = x - ox;
    event->button.y = y - oy;
    event->button.time = GDK_CURRENT_TIME;
  }
  return event;
}

void Send(GdkEvent* event) {
  gtk_main_do_event(event);
  gdk_event_free(event);
}

ResizeRun run;  // the one run of this program, reached from the GTK callbacks

void NextStep() {
  GtkWidget* layout = gtk_bin_get_child(GTK_BIN(run.dialog->window()));
  if (run.step == run.steps) {
    Send(PointerEvent(GDK_BUTTON_RELEASE, layout, run.x, run.y));
    Report("resize step: move to painted frame", run.latency);
    Report("resize step: frame work", run.work);
    gtk_window_close(GTK_WINDOW(run.dialog->window()));
    std::exit(0);  // the modal loop would now ask the close question
  }
  run.x += (run.step / 50) % 2 ? -2 : 2;  // out and back, so the window stays on screen
  ++run.step;
  run.moved = Clock::now();
  run.waiting = true;
  Send(PointerEvent(GDK_MOTION_NOTIFY, layout, run.x, run.y));
}

void OnBeforePaint(GdkFrameClock*, gpointer) { run.frameStart = Clock::now(); }

gboolean RunNextStep(gpointer) {
  NextStep();
  return G_SOURCE_REMOVE;
}

void OnAfterPaint(GdkFrameClock*, gpointer) {
  if (!run.waiting) return;
  run.waiting = false;
  const auto now = Clock::now();
  run.latency.push_back(Micros(now - run.moved));
  run.work.push_back(Micros(now - run.frameStart));
  g_idle_add(RunNextStep, nullptr);
}

// The window is restored: press its right border and start moving.
gboolean HoldBorder(gpointer) {
  GtkWindow* window = GTK_WINDOW(run.dialog->window());
  gint x = 0, y = 0, w = 0, h = 0;
  gtk_window_get_position(window, &x, &y);
  gtk_window_get_size(window, &w, &h);
  run.x = x + w - 1;
  run.y = y + h / 2;
  std::printf("restored window %dx%d at %d,%d; sizing by the right border\n", w, h, x, y);
  Send(PointerEvent(GDK_BUTTON_PRESS, gtk_bin_get_child(GTK_BIN(window)), run.x, run.y));
  NextStep();
  return G_SOURCE_REMOVE;
}

// The window and its page are up: watch its frames and restore it by a double-click on the
// title band.
gboolean StartRun(gpointer) {
  GtkWidget* window = run.dialog->window();
  GtkWidget* layout = gtk_bin_get_child(GTK_BIN(window));
  GdkFrameClock* clock = gtk_widget_get_frame_clock(window);
  g_signal_connect(clock, "before-paint", G_CALLBACK(OnBeforePaint), nullptr);
  g_signal_connect(clock, "after-paint", G_CALLBACK(OnAfterPaint), nullptr);
  for (int i = 0; i < 2; ++i) {
    Send(PointerEvent(GDK_BUTTON_PRESS, layout, 400, 10));
    Send(PointerEvent(GDK_BUTTON_RELEASE, layout, 400, 10));
  }
  g_timeout_add(1000, HoldBorder, nullptr);
  return G_SOURCE_REMOVE;
}

int Resize(const std::string& branded, const std::string& url, int steps) {
  BenchHost host(branded);
  mc::LauncherConfig config;
  if (!config.OpenPackage(host) || !config.LoadConfigText(host, "config/cg.txt") ||
      !config.ParseConfig(host))
    return 1;
  mc::gtk::CGameDialog dialog(config, host);
  dialog.SetGameUrl(url);
  run.dialog = &dialog;
  run.steps = steps;
  g_timeout_add(2500, StartRun, nullptr);
  dialog.DoModal();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "paint" && argc >= 3) return Paint(argv[2], argc > 3 ? std::atoi(argv[3]) : 2000);
  if (mode == "resize" && argc >= 4) {
    gtk_init(&argc, &argv);
    return Resize(argv[2], argv[3], argc > 4 ? std::atoi(argv[4]) : 200);
  }
  std::fprintf(stderr,
               "usage: %s paint CONFIG_DIR [ITERATIONS]\n"
               "       %s resize BRANDED PAGE_URL [STEPS]\n",
               argv[0], argv[0]);
  return 2;
}
