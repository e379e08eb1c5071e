// The skinned window toolkit on its own: a translucent dialog of a package's launcher
// background with a control layer of skin buttons, over an optional solid backdrop window that
// reports the presses reaching it. Everything of interest goes to the log, one line a fact:
//   at X Y W H          the dialog's window was placed (after every move)
//   drawn               the first paint is done
//   command ID          a button click
//   backdrop-press X Y  a press reached the backdrop (root coordinates)
//   result N            the dialog's modal run ended with N
// Buttons (picture coordinates): a link button (201, faces 1_n/1_d) at (620, 92); a title-bar
// style button (185, normal/pressed/hover pieces of style.png) at (600, 31) with a tip; a
// disabled captioned button (190) at (620, 268); a red button (191) shaped by a mask whose left
// half is outside, 30 x 20 at (300, 40); a close button (203, 7_n/7_d) at (698, 31).
//
// usage: skin_demo CONFIG-DIR LOG-FILE [--link URL] [--backdrop RRGGBB]
#include <gtk/gtk.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "skin/gtk/background_image.h"
#include "skin/gtk/skin_button.h"
#include "skin/gtk/skin_image.h"
#include "skin/gtk/translucent_dialog.h"

namespace {

using namespace mc::gtk;

struct Options {
  std::string config;
  std::string link;
  bool backdrop = false;
  uint32_t backdropRgb = 0;
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

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

SkinBitmap LoadBitmap(const std::string& path) {
  const std::vector<uint8_t> png = ReadFile(path);
  SkinImage image;
  if (!LoadImageFromMemory(image, png.data(), png.size())) {
    Log("cannot load %s", path.c_str());
    return nullptr;
  }
  return image.Detach();
}

// A 32-bit bitmap of one colour (0x00BBGGRR).
SkinBitmap SolidBitmap(int width, int height, uint32_t colorRef) {
  auto p = std::make_unique<mc::SkinPixels>();
  p->Create(width, height, 32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* px = p->Row(y) + x * 4;
      px[0] = static_cast<uint8_t>(colorRef >> 16), px[1] = static_cast<uint8_t>(colorRef >> 8);
      px[2] = static_cast<uint8_t>(colorRef), px[3] = 255;
    }
  return p;
}

// Black (the face shows) with the left half magenta (outside the shape).
SkinBitmap HalfKeyedMask(int width, int height) {
  SkinBitmap mask = SolidBitmap(width, height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width / 2; ++x) {
      uint8_t* px = mask->Row(y) + x * 4;
      px[0] = 255, px[2] = 255;
    }
  return mask;
}

class DemoOverlay : public CStandardDialog {
 public:
  DemoOverlay(CTranslucentDialog* parent, const Options& options)
      : CStandardDialog(parent), options_(options) {}

 protected:
  bool OnInitDialog() override {
    const std::string dir = options_.config + "/";
    auto click = [this](int id) { OnCommand(id); };

    SkinBitmap normal = LoadBitmap(dir + "1_n.png"), down = LoadBitmap(dir + "1_d.png");
    if (!normal || !down) return false;
    auto link = std::make_unique<CSkinButton>();
    link->Create("", {0, 0, normal->width(), normal->height()}, 201, click);
    link->SetImages(std::move(normal), std::move(down), nullptr, nullptr, nullptr, nullptr, 0, 0, 0);
    link->SetLinkUrl(options_.link);
    Put(link->widget(), 620, 92);
    buttons_.push_back(std::move(link));

    // Three stacked faces of 28 x 22, 2 pixels apart, as the game window cuts them.
    SkinBitmap sprite = LoadBitmap(dir + "style.png");
    if (!sprite) return false;
    auto styled = std::make_unique<CSkinButton>();
    styled->Create("", {0, 0, 28, 22}, 185, click);
    styled->SetImages(CutBitmap(*sprite, 0, 0, 28, 22), CutBitmap(*sprite, 0, 24, 28, 22),
                      CutBitmap(*sprite, 0, 48, 28, 22), nullptr, nullptr, nullptr, 0, 0, 0);
    styled->SetTipText("\xB9\xD8\xB1\xD5");  // 关闭 in GBK
    Put(styled->widget(), 600, 31);
    buttons_.push_back(std::move(styled));

    auto captioned = std::make_unique<CSkinButton>();
    captioned->Create("OK", {0, 0, 100, 76}, 190, click);
    captioned->SetImages(LoadBitmap(dir + "3_n.png"), LoadBitmap(dir + "3_d.png"), nullptr, nullptr,
                         nullptr, nullptr, 1, 0, 0);
    captioned->SetCaptionColor(0x0000FF);
    gtk_widget_set_sensitive(captioned->widget(), FALSE);
    Put(captioned->widget(), 620, 268);
    buttons_.push_back(std::move(captioned));

    // A red face shaped by a mask whose left half is the key colour.
    auto masked = std::make_unique<CSkinButton>();
    masked->Create("", {0, 0, 60, 60}, 191, click);
    masked->SetImages(SolidBitmap(30, 20, 0x0000FF), nullptr, nullptr, nullptr, nullptr,
                      HalfKeyedMask(30, 20), 0, 0, 0);
    Put(masked->widget(), 300, 40);
    buttons_.push_back(std::move(masked));

    auto close = std::make_unique<CSkinButton>();
    SkinBitmap closeNormal = LoadBitmap(dir + "7_n.png");
    if (!closeNormal) return false;
    close->Create("", {0, 0, closeNormal->width(), closeNormal->height()}, 203, click);
    close->SetImages(std::move(closeNormal), LoadBitmap(dir + "7_d.png"), nullptr, nullptr, nullptr,
                     nullptr, 0, 0, 0);
    Put(close->widget(), 698, 31);
    buttons_.push_back(std::move(close));
    return true;
  }

 private:
  void OnCommand(int id) {
    Log("command %d", id);
    if (id == 203) OnOK();
  }

  const Options& options_;
  std::vector<std::unique_ptr<CSkinButton>> buttons_;
};

class DemoDialog : public CTranslucentDialog {
 public:
  DemoDialog(std::unique_ptr<mc::BackgroundImage> background, const Options& options)
      : CTranslucentDialog(std::move(background)), options_(options) {}

 protected:
  std::unique_ptr<CStandardDialog> MakeOverlayDialog() override {
    auto overlay = std::make_unique<DemoOverlay>(this, options_);
    overlay->owner = this;
    return overlay;
  }
  void PrepareFirstRender() override {
    gtk_window_set_title(GTK_WINDOW(window()), "skin demo");
    gtk_window_set_role(GTK_WINDOW(window()), "skin-demo");
    g_signal_connect(window(), "configure-event", G_CALLBACK(OnConfigure), nullptr);
    g_signal_connect_after(window(), "draw", G_CALLBACK(OnDrawn), nullptr);
  }

 private:
  static gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer) {
    Log("at %d %d %d %d", event->x, event->y, event->width, event->height);
    return FALSE;
  }
  static gboolean OnDrawn(GtkWidget* window, cairo_t*, gpointer) {
    Log("drawn");
    g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(OnDrawn), nullptr);
    return FALSE;
  }

  const Options& options_;
};

gboolean DrawBackdrop(GtkWidget*, cairo_t* cr, gpointer data) {
  const auto rgb = static_cast<uint32_t>(GPOINTER_TO_UINT(data));
  cairo_set_source_rgb(cr, (rgb >> 16) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
  cairo_paint(cr);
  return TRUE;
}

gboolean BackdropPress(GtkWidget*, GdkEventButton* event, gpointer) {
  Log("backdrop-press %d %d", static_cast<int>(event->x_root), static_cast<int>(event->y_root));
  return TRUE;
}

// A plain window of one colour over the whole work area, mapped before the dialog.
GtkWidget* ShowBackdrop(uint32_t rgb) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  const mc::PixelRect area = NewWindowWorkArea();
  gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
  gtk_window_set_role(GTK_WINDOW(window), "backdrop");
  gtk_window_move(GTK_WINDOW(window), area.left, area.top);
  gtk_window_set_default_size(GTK_WINDOW(window), area.right - area.left, area.bottom - area.top);
  gtk_widget_set_app_paintable(window, TRUE);
  gtk_widget_add_events(window, GDK_BUTTON_PRESS_MASK);
  g_signal_connect(window, "draw", G_CALLBACK(DrawBackdrop), GUINT_TO_POINTER(rgb));
  g_signal_connect(window, "button-press-event", G_CALLBACK(BackdropPress), nullptr);
  gtk_widget_show(window);
  while (!gtk_widget_get_mapped(window)) gtk_main_iteration();
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s CONFIG-DIR LOG-FILE [--link URL] [--backdrop RRGGBB]\n", argv[0]);
    return 2;
  }
  Options options;
  options.config = argv[1];
  logFile = std::fopen(argv[2], "a");
  if (!logFile) return 2;
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--link") options.link = argv[i + 1];
    if (flag == "--backdrop") {
      options.backdrop = true;
      options.backdropRgb = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 16));
    }
  }
  GtkWidget* backdrop = options.backdrop ? ShowBackdrop(options.backdropRgb) : nullptr;
  int result = 0;
  {
    DemoDialog dialog(DecodeBackgroundPng(ReadFile(options.config + "/main1.png")), options);
    result = dialog.DoModal();
  }
  Log("result %d", result);
  if (backdrop) gtk_widget_destroy(backdrop);
  std::fclose(logFile);
  return 0;
}
