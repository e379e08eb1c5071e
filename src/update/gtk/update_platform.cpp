#include "update/gtk/update_platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <ctime>

#include <glib.h>

#include "package/gtk/mapped_file.h"
#include "package/gtk/port_traits.h"
#include "platform/gtk/process.h"
#include "update/gtk/download_file.h"

namespace mc::gtk {
namespace {

constexpr int kIdleNice = 19;

// Runs in the forked child of a threaded process: async-signal-safe calls only.
[[noreturn]] void ExecScript(const char* scriptPath) {
  setsid();
  setpriority(PRIO_PROCESS, 0, kIdleNice);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
  const int null = open("/dev/null", O_RDONLY);
  if (null >= 0) dup2(null, STDIN_FILENO);
  // The X connection and every other descriptor of the old program must not live on in the
  // new one.
  if (close_range(3, ~0U, 0) != 0) {
    const long max = sysconf(_SC_OPEN_MAX);
    for (long fd = 3; fd < (max > 0 ? max : 1024); ++fd) close(static_cast<int>(fd));
  }
  execl("/bin/sh", "sh", scriptPath, static_cast<char*>(nullptr));
  _exit(127);
}

}  // namespace

GtkUpdatePlatform::GtkUpdatePlatform(std::shared_ptr<const StopSignal> stop, CurlOptions options)
    : http_(std::move(stop), std::move(options)) {}

PortTraits GtkUpdatePlatform::Traits() const { return kPortTraits; }

uint32_t GtkUpdatePlatform::TickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const uint64_t ms =
      static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
  return static_cast<uint32_t>(ms);  // wraps like the Windows tick count
}

std::unique_ptr<DownloadFile> GtkUpdatePlatform::CreateDownloadFile(const std::string& path) {
  return CreateAnonymousDownloadFile(path);
}

std::optional<uint64_t> GtkUpdatePlatform::FreeSpace(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  struct statvfs fs {};
  if (statvfs(folder.c_str(), &fs) != 0) return std::nullopt;
  return static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
}

std::unique_ptr<MappedFile> GtkUpdatePlatform::MapFile(const std::string& path) {
  MapError error = MapError::kNone;
  return gtk::MapFile(path, error);
}

std::unique_ptr<MappedFile> GtkUpdatePlatform::MapOwnProgram() { return MapFile(kOwnImagePath); }

bool GtkUpdatePlatform::PrepareExecutable(const std::string& path) {
  struct stat own {};
  if (stat(kOwnImagePath, &own) != 0) return false;
  return chmod(path.c_str(), own.st_mode & 07777) == 0;
}

std::string GtkUpdatePlatform::ProgramPath() { return gtk::ProgramPath(); }

void GtkUpdatePlatform::StartScript(const std::string& scriptPath) {
  const pid_t child = fork();
  if (child == 0) ExecScript(scriptPath.c_str());
  // The child is not waited for: this process ends next, and init adopts it.
}

void GtkUpdatePlatform::EndProcess() { _exit(0); }

void GtkUpdatePlatform::LogResult(int32_t code) {
  g_log("microclient", G_LOG_LEVEL_DEBUG, "update check result %ld", static_cast<long>(code));
}

}  // namespace mc::gtk
