// Runs the Linux update check pieces against a real server and prints what they did.
//
//   update_probe check SERVER PORT VERSION_URL EXE_URL LOCAL_VERSION [options]
//       RunUpdateCheck in the current directory with the real libcurl transfer; prints
//       "code N", or "script PATH" where the real program would start the script and end (the
//       script is written, neither started nor is the process ended).
//   update_probe download URL FILE [options]
//       One Download into the file the worker uses; prints "ok" or "failed", "seconds S" (the transfer alone) and
//       "peak_kb N" (peak resident memory).
//   update_probe post SERVER PORT VERSION_URL EXE_URL LOCAL_VERSION [--gone]
//       StartUpdateCheck for a real window; prints "delivered N" when the result reaches the
//       window on the UI thread. With --gone the window is destroyed first; prints
//       "finished" once the check is over and the main loop has run.
// Options: --ca FILE (trusted certificate), --stall-timeout SECONDS, --max-file-size BYTES
// (files larger than this cannot be written, as on a full disk).
#include <gtk/gtk.h>
#include <signal.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "update/gtk/download_file.h"
#include "update/gtk/update_platform.h"
#include "update/gtk/update_start.h"
#include "update/stop_signal.h"
#include "update/update_check.h"

namespace {

using mc::gtk::CurlOptions;
using mc::gtk::GtkUpdatePlatform;

void Print(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Everything but starting the script and ending the process is real.
class ProbePlatform : public GtkUpdatePlatform {
 public:
  using GtkUpdatePlatform::GtkUpdatePlatform;
  void StartScript(const std::string& path) override { Print("script " + path); }
  void EndProcess() override {}
};

struct Args {
  std::vector<std::string> positional;
  CurlOptions curl;
  long long maxFileSize = -1;
  bool gone = false;
};

Args Parse(int argc, char** argv) {
  Args args;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--ca" && i + 1 < argc) {
      args.curl.caFile = argv[++i];
    } else if (a == "--stall-timeout" && i + 1 < argc) {
      args.curl.stallTimeoutS = std::atol(argv[++i]);
    } else if (a == "--max-file-size" && i + 1 < argc) {
      args.maxFileSize = std::atoll(argv[++i]);
    } else if (a == "--gone") {
      args.gone = true;
    } else {
      args.positional.push_back(a);
    }
  }
  return args;
}

mc::ConfigRecord Config(const Args& args) {
  mc::ConfigRecord config;
  config.server = args.positional[0];
  config.port = std::atoi(args.positional[1].c_str());
  config.versionUrl = args.positional[2];
  config.exeUrl = args.positional[3];
  config.version = args.positional[4];
  return config;
}

std::string CurrentDirectory() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) ? buffer : "";
}

int Check(const Args& args) {
  auto stop = std::make_shared<mc::StopSignal>();
  ProbePlatform platform(stop, args.curl);
  const int32_t code =
      mc::RunUpdateCheck(mc::MakeUpdateRecord(Config(args), CurrentDirectory()), platform, *stop);
  if (code != mc::kUpdateScriptStarted) Print("code " + std::to_string(code));
  return 0;
}

int Download(const Args& args) {
  auto stop = std::make_shared<mc::StopSignal>();
  mc::gtk::CurlHttpClient http(stop, args.curl);
  const auto start = std::chrono::steady_clock::now();
  const bool ok = mc::Download(http, {args.positional[0], args.positional[1]}, stop.get(),
                               mc::gtk::CreateAnonymousDownloadFile);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  Print(ok ? "ok" : "failed");
  Print("seconds " + std::to_string(took.count()));
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  Print("peak_kb " + std::to_string(usage.ru_maxrss));
  return 0;
}

int Post(int argc, char** argv, const Args& args) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_widget_show(window);
  const std::thread::id uiThread = std::this_thread::get_id();
  auto worker = mc::gtk::StartUpdateCheck(
      mc::MakeUpdateRecord(Config(args), CurrentDirectory()), window, [uiThread](int32_t code) {
        const bool onUi = std::this_thread::get_id() == uiThread;
        Print("delivered " + std::to_string(code) + (onUi ? "" : " off the UI thread"));
        gtk_main_quit();
      });
  if (!args.gone) {
    gtk_main();
    return 0;
  }
  gtk_widget_destroy(window);
  worker->WaitFinished(std::chrono::seconds(60));
  // Runs whatever the worker posted; nothing may reach the destroyed window.
  for (int i = 0; i < 20; ++i) {
    while (gtk_events_pending()) gtk_main_iteration();
    g_usleep(10000);
  }
  Print("finished");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 64;
  const std::string mode = argv[1];
  const Args args = Parse(argc, argv);
  if (args.maxFileSize >= 0) {
    signal(SIGXFSZ, SIG_IGN);  // writes past the limit fail with EFBIG instead
    rlimit limit{static_cast<rlim_t>(args.maxFileSize), static_cast<rlim_t>(args.maxFileSize)};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  mc::gtk::CurlHttpClient::GlobalInit();
  if (mode == "check" && args.positional.size() == 5) return Check(args);
  if (mode == "download" && args.positional.size() == 2) return Download(args);
  if (mode == "post" && args.positional.size() == 5) return Post(argc, argv, args);
  return 64;
}
