// Hosts one CWebBrowserEx in a window, loads the address given on the command line and prints
// what the owner of a browser sees, one line each (texts as UTF-8):
//   before URL | navcomplete URL | complete URL | newwindow URL   browser events
//   external METHOD ARG,ARG,...                                  window.external calls
//   call NAME ok RESULT | call NAME fail                         page function results
// Commands on standard input, one a line: "call NAME [ARG,ARG,...]", "navigate URL", "quit".
// Options: --external (offer window.external.JsCallClient), --cancel TEXT (cancel every
// navigation whose address contains TEXT), --cancel-new-window, --keep-scrollbars,
// --no-attach, --silent, --size WxH.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "browser/gtk/web_browser_ex.h"
#include "package/gtk/gbk_utf8.h"
#include "../../lib/script_value_text.h"

namespace {

using mc::gtk::GbkToUtf8;

void Print(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Describe(const mc::ScriptValue& value) {
  return GbkToUtf8(mc::DescribeScriptValue(value));
}

struct Options {
  bool external = false;
  bool attach = true;
  bool keepScrollbars = false;
  bool silent = false;
  bool cancelNewWindow = false;
  std::string cancel;
  int width = 400, height = 300;
  std::string url;
};

class Events : public mc::BrowserEvents {
 public:
  explicit Events(const Options& options) : options_(options) {}
  void BeforeNavigate2(int, const std::string& url, bool& cancel) override {
    Print("before " + GbkToUtf8(url));
    cancel = !options_.cancel.empty() && url.find(options_.cancel) != std::string::npos;
  }
  void NavigateComplete2(int, const std::string& url) override {
    Print("navcomplete " + GbkToUtf8(url));
  }
  void DocumentComplete(int, const std::string& url) override {
    if (firstComplete_ && GbkToUtf8(url) == options_.url) {
      firstComplete_ = false;
      // Wall-clock time the page itself first completed, for the start-up benchmark.
      timespec now{};
      clock_gettime(CLOCK_REALTIME, &now);
      std::fprintf(stderr, "first-complete %lld.%09ld\n", static_cast<long long>(now.tv_sec),
                   now.tv_nsec);
    }
    Print("complete " + GbkToUtf8(url));
  }
  void NewWindow(int, const std::string& url, bool& cancel) override {
    Print("newwindow " + GbkToUtf8(url));
    cancel = options_.cancelNewWindow;
  }

 private:
  const Options& options_;
  bool firstComplete_ = true;
};

class External : public mc::ScriptObject {
 public:
  std::vector<std::string> Methods() const override { return {"JsCallClient"}; }
  void Call(std::string_view method, const mc::ScriptArgs& args) override {
    std::string line = "external " + std::string(method) + " ";
    for (size_t i = 0; i < args.size(); ++i) line += (i ? "," : "") + Describe(args[i]);
    Print(line);
  }
};

std::vector<std::string> SplitArgs(const std::string& text) {
  std::vector<std::string> args;
  if (text.empty()) return args;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    args.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return args;
    start = comma + 1;
  }
}

struct Probe {
  mc::gtk::CWebBrowserEx browser;
  GtkWidget* window = nullptr;
};

gboolean OnCommand(GIOChannel* channel, GIOCondition, gpointer data) {
  auto* probe = static_cast<Probe*>(data);
  gchar* raw = nullptr;
  gsize length = 0;
  if (g_io_channel_read_line(channel, &raw, &length, nullptr, nullptr) != G_IO_STATUS_NORMAL) {
    g_free(raw);
    return G_SOURCE_REMOVE;  // end of input: keep running until closed
  }
  std::string line(raw, length);
  g_free(raw);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  const size_t space = line.find(' ');
  const std::string verb = line.substr(0, space);
  const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
  if (verb == "quit") {
    gtk_widget_destroy(probe->window);
  } else if (verb == "navigate") {
    probe->browser.Navigate(rest);
  } else if (verb == "call") {
    const size_t gap = rest.find(' ');
    const std::string name = rest.substr(0, gap);
    const std::string args = gap == std::string::npos ? "" : rest.substr(gap + 1);
    probe->browser.CallFunction(name, SplitArgs(args), [name](bool ok, const mc::ScriptValue& v) {
      Print("call " + name + (ok ? " ok " + Describe(v) : " fail"));
    });
  }
  return G_SOURCE_CONTINUE;
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--external") {
      options.external = true;
    } else if (arg == "--no-attach") {
      options.attach = false;
    } else if (arg == "--keep-scrollbars") {
      options.keepScrollbars = true;
    } else if (arg == "--silent") {
      options.silent = true;
    } else if (arg == "--cancel-new-window") {
      options.cancelNewWindow = true;
    } else if (arg == "--cancel" && i + 1 < argc) {
      options.cancel = argv[++i];
    } else if (arg == "--size" && i + 1 < argc) {
      std::sscanf(argv[++i], "%dx%d", &options.width, &options.height);
    } else {
      options.url = arg;
    }
  }
  if (options.url.empty()) {
    std::fprintf(stderr, "usage: browser_probe [options] URL\n");
    return 64;
  }

  Probe probe;
  Events events(options);
  External external;
  probe.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(probe.window), "browser probe");
  gtk_window_set_role(GTK_WINDOW(probe.window), "browser-probe");
  gtk_window_set_resizable(GTK_WINDOW(probe.window), FALSE);
  GtkWidget* fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(probe.window), fixed);
  g_signal_connect(probe.window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);

  if (!probe.browser.Create(fixed, GdkRectangle{0, 0, options.width, options.height}, true, 170,
                            &events)) {
    std::fprintf(stderr, "browser not created\n");
    return 1;
  }
  probe.browser.Navigate("about:blank");
  if (options.attach) probe.browser.AttachUIHandler(options.keepScrollbars);
  if (options.external) probe.browser.SetExternal(&external);
  probe.browser.Navigate(options.url);
  probe.browser.SetSilent(options.silent);
  gtk_widget_show_all(probe.window);

  GIOChannel* input = g_io_channel_unix_new(0);
  g_io_add_watch(input, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP), OnCommand, &probe);
  g_io_channel_unref(input);
  gtk_main();
  return 0;
}
