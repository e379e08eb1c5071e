// The narrow interface between the portable code and a port's services: file-system and
// process facts the core cannot obtain portably, message boxes, the decoded launcher picture
// and the desktop shortcut. (The windows themselves are the port's AppWindows, app/.) Texts
// crossing this interface are GBK bytes; ports convert at their UI edge.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/net_adapter.h"

namespace mc {

enum class ImageFormat { kPe, kElf };

// Facts that differ between the Windows and the Linux build.
struct PortTraits {
  char pathSeparator;
  ImageFormat imageFormat;
  const char* backupFileName;  // the program moved aside by a self-update
  const char* scriptFileName;  // the update script
  const char* shortcutSuffix;  // ".lnk" or ".desktop"
};

// A file mapped read-only: the running program's own file (kept for the life of the process)
// or a download being checked.
class MappedFile {
 public:
  virtual ~MappedFile() = default;
  virtual const uint8_t* data() const = 0;
  virtual size_t size() const = 0;
};

// A port's own mapping object (anything with data() and size()) as a MappedFile.
template <class Mapping>
class OwnedMapping : public MappedFile {
 public:
  explicit OwnedMapping(std::unique_ptr<Mapping> mapping) : mapping_(std::move(mapping)) {}
  const uint8_t* data() const override { return mapping_->data(); }
  size_t size() const override { return mapping_->size(); }

 private:
  std::unique_ptr<Mapping> mapping_;
};

enum class MapError { kNone, kCannotOpen, kMappingFailed, kViewFailed };

// A decoded launcher background, owned by whoever shows it.
class BackgroundImage {
 public:
  virtual ~BackgroundImage() = default;
};

class AppHost {
 public:
  virtual ~AppHost() = default;

  virtual PortTraits Traits() const = 0;
  // Process preparation before anything is read (controls, sockets, image decoder). A failure
  // has already been shown to the user.
  virtual bool PrepareProcess() = 0;

  // Plain message box with no owner window, OK only, no icon.
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;

  virtual std::string CurrentDirectory() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // True when the file is gone.
  virtual bool RemoveFile(const std::string& path) = 0;

  virtual std::string ProgramPath() = 0;
  virtual std::unique_ptr<MappedFile> MapProgramFile(MapError& error) = 0;

  virtual std::vector<NetAdapter> NetAdapters() = 0;

  // Decodes the launcher background. Undecodable bytes still give an image (drawn as nothing);
  // nullptr only when the decoder could not be handed the bytes at all.
  virtual std::unique_ptr<BackgroundImage> DecodeBackground(const std::vector<uint8_t>& png) = 0;

  // Desktop shortcut services; each opens and closes whatever session it needs.
  virtual std::optional<std::string> DesktopFolder() = 0;
  // Calls visit(fileName) for each shortcut file directly in folder, in file-system order, until
  // visit returns false. False when the listing cannot be started.
  virtual bool ForEachShortcutFile(const std::string& folder,
                                   const std::function<bool(const std::string&)>& visit) = 0;
  virtual std::optional<std::string> ShortcutTarget(const std::string& shortcutPath) = 0;
  virtual void WriteShortcut(const std::string& shortcutPath, const std::string& target) = 0;
};

}  // namespace mc
