// The configuration object of the running program: the appended package read in place from
// the program's own mapped file, the INI document of config/cg.txt and the parsed record.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/app_host.h"
#include "package/config_record.h"
#include "package/ini_document.h"
#include "package/zip_archive.h"

namespace mc {

class LauncherConfig {
 public:
  // Finds and opens the package; reports its own failures to the user.
  bool OpenPackage(AppHost& host);
  // Inflates one entry; false when it is missing or cannot be inflated. Shows nothing.
  bool ReadPackageEntry(const std::string& name, std::vector<uint8_t>& out) const;
  // Whether the package holds an entry of exactly this name, readable or not.
  bool HasPackageEntry(const std::string& name) const;
  bool LoadConfigText(AppHost& host, const std::string& name);
  bool ParseConfig(AppHost& host);
  bool LoadBackgroundImage(AppHost& host, const std::string& name,
                           std::unique_ptr<BackgroundImage>& image) const;

  const ConfigRecord& record() const { return record_; }
  bool packageOpen() const { return package_ != nullptr; }

 private:
  IniDocument ini_;
  std::unique_ptr<MappedFile> file_;
  std::unique_ptr<ZipArchive> package_;
  ConfigRecord record_;
};

}  // namespace mc
