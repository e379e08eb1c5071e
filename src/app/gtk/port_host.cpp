#include "app/gtk/port_host.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtk/gtk.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "app/desktop_entry.h"
#include "app/desktop_shortcut.h"
#include "browser/gtk/web_context.h"
#include "game/gtk/game_dialog.h"
#include "launcher/gtk/launcher_dialog.h"
#include "package/gtk/gbk_utf8.h"
#include "package/gtk/mapped_file.h"
#include "package/gtk/port_traits.h"
#include "package/net_adapters.h"
#include "package/program_name.h"
#include "platform/gtk/process.h"
#include "platform/gtk/prompts.h"
#include "skin/gtk/background_image.h"
#include "update/gtk/update_start.h"

namespace mc::gtk {
namespace {

// Shortcut files larger than this are not ours and are not read.
constexpr size_t kMaxDesktopEntryBytes = 64 * 1024;

bool EndsWith(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

PortTraits GtkAppHost::Traits() const { return kPortTraits; }

bool GtkAppHost::PrepareProcess() { return true; }

void GtkAppHost::ShowMessage(const std::string& title, const std::string& text) {
  gtk::ShowMessage(GbkToUtf8(title), GbkToUtf8(text));
}

std::string GtkAppHost::CurrentDirectory() { return gtk::CurrentDirectory(); }

bool GtkAppHost::FileExists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

bool GtkAppHost::RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

std::string GtkAppHost::ProgramPath() { return gtk::ProgramPath(); }

std::unique_ptr<MappedFile> GtkAppHost::MapProgramFile(MapError& error) {
  return MapFile(kOwnImagePath, error);
}

std::vector<NetAdapter> GtkAppHost::NetAdapters() { return ReadNetAdapters(); }

std::unique_ptr<BackgroundImage> GtkAppHost::DecodeBackground(const std::vector<uint8_t>& png) {
  return DecodeBackgroundPng(png);
}

std::optional<std::string> GtkAppHost::DesktopFolder() {
  const char* dir = g_get_user_special_dir(G_USER_DIRECTORY_DESKTOP);
  if (!dir || !*dir) return std::nullopt;
  return std::string(dir);
}

bool GtkAppHost::ForEachShortcutFile(const std::string& folder,
                                     const std::function<bool(const std::string&)>& visit) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (!EndsWith(name, ".desktop")) continue;
    // Directories, links, pipes and devices are no entries of ours (the type is checked
    // again when the file is opened, as some file systems do not report it here).
    if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN) continue;
    if (!visit(name)) break;
  }
  closedir(dir);
  return true;
}

std::optional<std::string> GtkAppHost::ShortcutTarget(const std::string& shortcutPath) {
  // Non-blocking and not through a link: a pipe named *.desktop must not stop start-up
  // waiting for a writer, and only a regular file is read.
  const int fd = open(shortcutPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::string text;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    text.resize(kMaxDesktopEntryBytes);
    size_t got = 0;
    while (got < text.size()) {
      const ssize_t n = read(fd, text.data() + got, text.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    text.resize(got);
  }
  const bool regular = S_ISREG(st.st_mode);
  close(fd);
  if (!regular) return std::nullopt;
  return DesktopEntryProgram(text);
}

void GtkAppHost::WriteShortcut(const std::string& shortcutPath, const std::string& target) {
  // Written beside the final name and renamed over it, so a crash never leaves half an entry.
  // The temporary is made new and never through a link: whatever has its name is removed
  // (a link itself, not what it points at), and O_EXCL | O_NOFOLLOW refuses anything put
  // there meanwhile. Desktops only launch executable entries, hence 0755 from the start.
  const std::string temp = shortcutPath + ".part";
  unlink(temp.c_str());
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0755);
  if (fd < 0) return;
  // The shown name: the program's name without its extension, or its whole file name.
  const std::string name = ProgramBaseName(target, '/', WithoutExtension::kWholeName);
  const bool written = WriteAll(fd, DesktopEntryText(name, target)) && fchmod(fd, 0755) == 0;
  if (close(fd) != 0 || !written || rename(temp.c_str(), shortcutPath.c_str()) != 0)
    unlink(temp.c_str());
}

WebKitWebContext* GtkAppHost::WebContext() {
  if (!webContext_)
    webContext_ = NewProgramWebContext(ProgramBaseName(ProgramPath(), '/', WithoutExtension::kWholeName));
  return webContext_.get();
}

void GtkAppHost::RunLauncher(LauncherApp& app) {
  const LauncherSession session{app.config, *this, app.gameAddress};
  CLauncherTranslucentDlg launcher(session, std::move(app.mainImage), [this] { return WebContext(); },
                                   [&](GtkWidget* window) {
    if (!app.startedByUpdate)
      updateWorker_ = StartUpdateCheck(MakeUpdateRecord(app.config, app.programFolder), window);
  });
  launcher.DoModal();
}

void GtkAppHost::RunGame(LauncherApp& app, const std::string& address) {
  CGameDialog dialog(app.config, *this, WebContext());
  dialog.SetGameUrl(address);
  dialog.DoModal();
}

}  // namespace mc::gtk
