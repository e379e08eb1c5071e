#include "package/launcher_config.h"

#include "base/messages.h"
#include "package/image_end.h"
#include "package/machine_code.h"

namespace mc {

bool LauncherConfig::OpenPackage(AppHost& host) {
  MapError error = MapError::kNone;
  std::unique_ptr<MappedFile> file = host.MapProgramFile(error);
  if (!file) {
    if (error == MapError::kMappingFailed)
      host.ShowMessage(text::kStartupFailedTitle, text::kCreateMapFileFail);
    return false;
  }
  // The mapping stays open for the rest of the process: the package is read in place.
  file_ = std::move(file);
  const PackageLocation where = host.Traits().imageFormat == ImageFormat::kPe
                                    ? LocatePackagePe(file_->data(), file_->size())
                                    : LocatePackageElf(file_->data(), file_->size());
  if (!where.found || where.length == 0) {
    host.ShowMessage(text::kStartupFailedTitle, text::kNoAppendedPackage);
    return false;
  }
  package_ = ZipArchive::Open(file_->data() + where.offset, where.length);
  if (!package_) {
    host.ShowMessage(text::kStartupFailedTitle, text::kOpenZipFailed);
    return false;
  }
  return true;
}

bool LauncherConfig::ReadPackageEntry(const std::string& name, std::vector<uint8_t>& out) const {
  return package_ && package_->Read(name, out);
}

bool LauncherConfig::HasPackageEntry(const std::string& name) const {
  if (!package_) return false;
  for (const std::string& entry : package_->EntryNames())
    if (entry == name) return true;
  return false;
}

bool LauncherConfig::LoadConfigText(AppHost& host, const std::string& name) {
  std::vector<uint8_t> bytes;
  if (!ReadPackageEntry(name, bytes)) {
    host.ShowMessage(text::kStartupFailedTitle, text::kReadIniFailed);
    return false;
  }
  if (!ini_.Load(reinterpret_cast<const char*>(bytes.data()), bytes.size())) {
    host.ShowMessage(text::kStartupFailedTitle, text::kLoadIniFailed);
    return false;
  }
  return true;
}

bool LauncherConfig::ParseConfig(AppHost& host) {
  return mc::ParseConfig(ini_, [&host] { return ChooseMachineCode(host.NetAdapters()); }, record_);
}

bool LauncherConfig::LoadBackgroundImage(AppHost& host, const std::string& name,
                                         std::unique_ptr<BackgroundImage>& image) const {
  std::vector<uint8_t> bytes;
  if (!ReadPackageEntry(name, bytes)) {
    host.ShowMessage(text::kStartupFailedTitle, text::kReadImageFailed);
    return false;
  }
  std::unique_ptr<BackgroundImage> decoded = host.DecodeBackground(bytes);
  if (!decoded) return false;
  image = std::move(decoded);
  return true;
}

}  // namespace mc
