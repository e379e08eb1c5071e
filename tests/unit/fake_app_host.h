// An in-memory AppHost for tests of the start-up sequence and the shortcut rules: a program
// file with an optional package, a file system of plain paths, a desktop of shortcuts, and a
// record of every message and window.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/app_host.h"
#include "app/launcher_app.h"

namespace mc::fixture {

// A minimal PE32 image (one section ending at 0x400) followed by `package`.
inline std::vector<uint8_t> PeProgramWith(const std::vector<uint8_t>& package) {
  std::vector<uint8_t> file(0x400, 0);
  file[0] = 'M';
  file[1] = 'Z';
  file[60] = 0x80;  // e_lfanew
  file[0x80] = 'P';
  file[0x81] = 'E';
  file[0x80 + 6] = 1;  // NumberOfSections
  file[0x80 + 24] = 0x0B;  // PE32 optional header magic 0x10B
  file[0x80 + 25] = 0x01;
  const size_t section = 0x80 + 248;
  file[section + 16 + 1] = 0x02;  // SizeOfRawData 0x200
  file[section + 20 + 1] = 0x02;  // PointerToRawData 0x200
  file.insert(file.end(), package.begin(), package.end());
  return file;
}

class FakeAppHost : public AppHost, public AppWindows {
 public:
  class Bytes : public MappedFile {
   public:
    explicit Bytes(std::vector<uint8_t> b) : bytes(std::move(b)) {}
    const uint8_t* data() const override { return bytes.data(); }
    size_t size() const override { return bytes.size(); }
    std::vector<uint8_t> bytes;
  };
  struct Image : BackgroundImage {};

  // Inputs.
  bool prepareOk = true;
  MapError mapError = MapError::kNone;
  std::vector<uint8_t> program;
  std::string programPath = "C:\\games\\client.exe";
  std::string currentDirectory = "C:\\games";
  std::optional<std::string> desktop = std::string("C:\\Users\\me\\Desktop");
  std::map<std::string, std::string> files;                // path -> content
  std::set<std::string> undeletable;                        // paths RemoveFile fails on
  std::map<std::string, std::string> shortcuts;            // desktop file name -> target
  std::vector<std::string> unreadableShortcuts;            // listed, but cannot be loaded
  std::string launcherCaptures;                            // address the launcher captures

  // Observations.
  std::vector<std::string> messages;  // "title|text"
  std::vector<std::string> deleted;
  std::vector<std::string> events;    // "launcher", "game:<address>"
  std::vector<std::pair<std::string, std::string>> written;  // shortcut path, target
  int shortcutsOpened = 0;
  bool listed = false;

  PortTraits Traits() const override {
    return {'\\', ImageFormat::kPe, "Launcher_back_up.exe", "Launcher_update.bat", ".lnk"};
  }
  bool PrepareProcess() override { return prepareOk; }
  void ShowMessage(const std::string& title, const std::string& text) override {
    messages.push_back(title + "|" + text);
  }
  std::string CurrentDirectory() override { return currentDirectory; }
  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  bool RemoveFile(const std::string& path) override {
    if (undeletable.count(path)) return false;
    files.erase(path);
    deleted.push_back(path);
    return true;
  }
  std::string ProgramPath() override { return programPath; }
  std::unique_ptr<MappedFile> MapProgramFile(MapError& error) override {
    error = mapError;
    if (mapError != MapError::kNone) return nullptr;
    return std::make_unique<Bytes>(program);
  }
  std::vector<NetAdapter> NetAdapters() override {
    NetAdapter a;
    a.type = kAdapterTypeEthernet;
    a.addressLength = 6;
    const uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::copy(mac, mac + 6, a.address);
    a.currentIp = "10.0.0.2";
    return {a};
  }
  std::unique_ptr<BackgroundImage> DecodeBackground(const std::vector<uint8_t>&) override {
    return std::make_unique<Image>();
  }
  std::optional<std::string> DesktopFolder() override { return desktop; }
  bool ForEachShortcutFile(const std::string& folder,
                           const std::function<bool(const std::string&)>& visit) override {
    listed = true;
    if (!desktop || folder != *desktop) return false;
    for (const std::string& name : unreadableShortcuts)
      if (!visit(name)) return true;
    for (const auto& [name, target] : shortcuts)
      if (!visit(name)) return true;
    return true;
  }
  std::optional<std::string> ShortcutTarget(const std::string& path) override {
    ++shortcutsOpened;
    const std::string prefix = *desktop + "\\";
    if (path.rfind(prefix, 0) != 0) return std::nullopt;
    auto it = shortcuts.find(path.substr(prefix.size()));
    if (it == shortcuts.end()) return std::nullopt;
    return it->second;
  }
  void WriteShortcut(const std::string& path, const std::string& target) override {
    written.emplace_back(path, target);
  }
  void RunLauncher(LauncherApp& app) override {
    events.push_back("launcher");
    app.gameAddress = launcherCaptures;
  }
  void RunGame(LauncherApp&, const std::string& address) override {
    events.push_back("game:" + address);
  }
};

}  // namespace mc::fixture
