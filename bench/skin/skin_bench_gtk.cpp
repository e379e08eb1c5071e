// Linux skin benchmark: decoding the launcher background and the style sprite, the time from
// opening a translucent dialog to its first composed frame, and the cost of one render of it.
// Run under a display (run.sh uses Xvfb with xcompmgr).
// usage: skin_bench_gtk BACKGROUND.png STYLE.png [ITERATIONS]
#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "skin/gtk/background_image.h"
#include "skin/gtk/png_decoder.h"
#include "skin/gtk/translucent_dialog.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

void Report(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  std::printf("linux: %-44s median %8.3f ms  min %8.3f ms  (%zu runs)\n", what,
              samples[samples.size() / 2], samples.front(), samples.size());
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

// A dialog that ends itself once its first frame has been painted and reached the server,
// or, when asked, runs `work` on its live window first.
class BenchDialog : public mc::gtk::CTranslucentDialog {
 public:
  BenchDialog(std::unique_ptr<mc::BackgroundImage> background, std::function<void(GtkWidget*)> work)
      : CTranslucentDialog(std::move(background)), work_(std::move(work)) {}
  Clock::time_point firstFrame;

 protected:
  std::unique_ptr<mc::gtk::CStandardDialog> MakeOverlayDialog() override {
    return std::make_unique<mc::gtk::CStandardDialog>(this);
  }
  void PrepareFirstRender() override {
    g_signal_connect_after(window(), "draw", G_CALLBACK(OnDrawn), this);
  }

 private:
  static gboolean OnDrawn(GtkWidget* window, cairo_t*, gpointer data) {
    g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(OnDrawn), data);
    g_signal_connect(gtk_widget_get_frame_clock(window), "after-paint", G_CALLBACK(OnPainted), data);
    return FALSE;
  }
  static void OnPainted(GdkFrameClock* clock, gpointer data) {
    auto* self = static_cast<BenchDialog*>(data);
    g_signal_handlers_disconnect_by_func(clock, reinterpret_cast<gpointer>(OnPainted), data);
    gdk_display_sync(gdk_display_get_default());
    self->firstFrame = Clock::now();
    if (self->work_) self->work_(self->window());
    self->EndDialog(mc::gtk::kDialogOk);
  }

  std::function<void(GtkWidget*)> work_;
};

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s BACKGROUND.png STYLE.png [ITERATIONS]\n", argv[0]);
    return 2;
  }
  const int iterations = argc > 3 ? std::atoi(argv[3]) : 30;
  const std::vector<uint8_t> background = ReadFile(argv[1]), style = ReadFile(argv[2]);

  Report("background decode (premultiplied surface)", Time(iterations, [&] {
           if (!mc::gtk::DecodeBackgroundPng(background)->surface()) std::exit(1);
         }));
  Report("style sprite decode (skin bitmap)", Time(iterations * 10, [&] {
           mc::SkinPixels pixels;
           if (!mc::gtk::DecodePngToSkin(style.data(), style.size(), pixels)) std::exit(1);
         }));

  std::vector<double> firstFrames;
  for (int i = 0; i < iterations; ++i) {
    auto decoded = mc::gtk::DecodeBackgroundPng(background);
    const Clock::time_point start = Clock::now();
    BenchDialog dialog(std::move(decoded), nullptr);
    dialog.DoModal();
    firstFrames.push_back(Ms(start, dialog.firstFrame));
  }
  Report("open to first composed frame", firstFrames);

  // One render: the whole window (picture and controls) drawn as GTK draws it for a frame,
  // into memory, and into the window itself with the server done with it.
  std::vector<double> renders, presented;
  BenchDialog live(mc::gtk::DecodeBackgroundPng(background), [&](GtkWidget* window) {
    cairo_surface_t* target = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, gtk_widget_get_allocated_width(window),
        gtk_widget_get_allocated_height(window));
    renders = Time(iterations * 10, [&] {
      cairo_t* cr = cairo_create(target);
      gtk_widget_draw(window, cr);
      cairo_destroy(cr);
      cairo_surface_flush(target);
    });
    cairo_surface_destroy(target);
    GdkWindow* native = gtk_widget_get_window(window);
    const cairo_rectangle_int_t all{0, 0, gtk_widget_get_allocated_width(window),
                                    gtk_widget_get_allocated_height(window)};
    cairo_region_t* region = cairo_region_create_rectangle(&all);
    presented = Time(iterations * 10, [&] {
      GdkDrawingContext* context = gdk_window_begin_draw_frame(native, region);
      gtk_widget_draw(window, gdk_drawing_context_get_cairo_context(context));
      gdk_window_end_draw_frame(native, context);
      gdk_display_sync(gdk_display_get_default());
    });
    cairo_region_destroy(region);
  });
  live.DoModal();
  Report("one render of the window, in memory", renders);
  Report("one render of the window, on the X server", presented);
  return 0;
}
