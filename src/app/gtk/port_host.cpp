#include "app/gtk/port_host.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtk/gtk.h>

#include <cstdio>
#include <fstream>

#include "app/desktop_entry.h"
#include "app/desktop_shortcut.h"
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
constexpr std::streamsize kMaxDesktopEntryBytes = 64 * 1024;

bool EndsWith(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
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

void GtkAppHost::RemoveFile(const std::string& path) { unlink(path.c_str()); }

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
    const std::string name = ProgramBaseName(target, '/', WithoutExtension::kWholeName);
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
  const LauncherSession session{app.config, *this, app.gameAddress};
  CLauncherTranslucentDlg launcher(session, std::move(app.mainImage), [&](GtkWidget* window) {
    if (!app.startedByUpdate)
      updateWorker_ = StartUpdateCheck(app.config.record(), app.programFolder, window);
  });
  launcher.DoModal();
}

void GtkAppHost::RunGame(LauncherApp& app, const std::string& address) {
  CGameDialog dialog(app.config, *this);
  dialog.SetGameUrl(address);
  dialog.DoModal();
}

}  // namespace mc::gtk
