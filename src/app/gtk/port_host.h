// The Linux port's services for the start-up sequence, and its windows: the launcher with the
// update check it starts, then the game window.
#pragma once

#include <memory>

#include <webkit2/webkit2.h>

#include "app/launcher_app.h"
#include "base/app_host.h"
#include "platform/gtk/gobject_ptr.h"
#include "update/update_worker.h"

namespace mc::gtk {

class GtkAppHost : public AppHost, public AppWindows {
 public:
  PortTraits Traits() const override;
  bool PrepareProcess() override;
  void ShowMessage(const std::string& title, const std::string& text) override;
  std::string CurrentDirectory() override;
  bool FileExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  std::string ProgramPath() override;
  std::unique_ptr<MappedFile> MapProgramFile(MapError& error) override;
  std::vector<NetAdapter> NetAdapters() override;
  std::unique_ptr<BackgroundImage> DecodeBackground(const std::vector<uint8_t>& png) override;
  std::optional<std::string> DesktopFolder() override;
  bool ForEachShortcutFile(const std::string& folder,
                           const std::function<bool(const std::string&)>& visit) override;
  std::optional<std::string> ShortcutTarget(const std::string& shortcutPath) override;
  void WriteShortcut(const std::string& shortcutPath, const std::string& target) override;
  void RunLauncher(LauncherApp& app) override;
  void RunGame(LauncherApp& app, const std::string& address) override;

 private:
  // The update check started with the launcher; it outlives the launcher and is stopped when
  // the host goes at the end of the program.
  std::unique_ptr<UpdateWorker> updateWorker_;
  // The web session of the launcher's and the game's pages, made with the first of them.
  WebKitWebContext* WebContext();
  GObjectPtr<WebKitWebContext> webContext_;
};

}  // namespace mc::gtk
