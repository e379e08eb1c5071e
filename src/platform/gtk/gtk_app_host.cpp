#include "platform/gtk/gtk_app_host.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtk/gtk.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/desktop_entry.h"
#include "app/desktop_shortcut.h"
#include "app/launcher_app.h"
#include "launcher/gtk/launcher_dialog_gtk.h"
#include "game/gtk/game_dialog_gtk.h"
#include "package/net_adapters.h"
#include "platform/gtk/gbk_utf8.h"
#include "platform/gtk/mapped_file_linux.h"
#include "skin/gtk/background_image_gtk.h"
#include "update/gtk/update_start_gtk.h"

namespace mc::gtk {
namespace {

// Shortcut files larger than this are not ours and are not read.
constexpr std::streamsize kMaxDesktopEntryBytes = 64 * 1024;

bool EndsWith(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

PortTraits GtkAppHost::Traits() const {
  return PortTraits{'/', ImageFormat::kElf, "Launcher_back_up", "Launcher_update.sh", ".desktop"};
}

bool GtkAppHost::PrepareProcess() { return true; }

void GtkAppHost::ShowMessage(const std::string& title, const std::string& text) {
  GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER,
                                             GTK_BUTTONS_OK, "%s", GbkToUtf8(text).c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), GbkToUtf8(title).c_str());
  gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
}

std::string GtkAppHost::CurrentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

bool GtkAppHost::FileExists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

void GtkAppHost::RemoveFile(const std::string& path) { unlink(path.c_str()); }

std::string GtkAppHost::ProgramPath() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

std::unique_ptr<MappedFile> GtkAppHost::MapProgramFile(MapError& error) {
  // /proc/self/exe still names the running image after a self-update has renamed it.
  return MapWholeFile("/proc/self/exe", error);
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
    if (!visit(name)) break;
  }
  closedir(dir);
  return true;
}

std::optional<std::string> GtkAppHost::ShortcutTarget(const std::string& shortcutPath) {
  std::ifstream in(shortcutPath, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(static_cast<size_t>(kMaxDesktopEntryBytes), '\0');
  in.read(text.data(), kMaxDesktopEntryBytes);
  text.resize(static_cast<size_t>(in.gcount()));
  return DesktopEntryProgram(text);
}

void GtkAppHost::WriteShortcut(const std::string& shortcutPath, const std::string& target) {
  // Written beside the final name and renamed over it, so a crash never leaves half an entry.
  const std::string temp = shortcutPath + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return;
    // The shown name: the program's name without its extension, or its whole file name.
    std::string name = ShortcutBaseName(target, '/');
    if (name.empty()) name = target.substr(target.rfind('/') + 1);
    out << DesktopEntryText(name, target);
    if (!out.flush()) {
      unlink(temp.c_str());
      return;
    }
  }
  chmod(temp.c_str(), 0755);  // desktops only launch executable entries
  if (rename(temp.c_str(), shortcutPath.c_str()) != 0) unlink(temp.c_str());
}

void GtkAppHost::RunLauncher(LauncherApp& app) {
  CLauncherTranslucentDlg launcher(app, std::move(app.mainImage), [&](GtkWidget* window) {
    updateWorker_ = StartUpdateCheck(app.config.record(), CurrentDirectory(), window);
  });
  launcher.DoModal();
}

void GtkAppHost::RunGame(LauncherApp& app, const std::string& address) {
  CGameDialog dialog(app.config, *this);
  dialog.SetGameUrl(address);
  dialog.DoModal();
}

}  // namespace mc::gtk
