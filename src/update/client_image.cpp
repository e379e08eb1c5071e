#include "update/client_image.h"

#include <vector>

#include "base/package_layout.h"
#include "package/config_record.h"
#include "package/image_end.h"
#include "package/ini_document.h"
#include "package/zip_archive.h"

namespace mc {
namespace {

// The header facts that decide whether two images run on the same machine.
struct ImageKind {
  bool runnable = false;
  uint32_t machine = 0;  // PE Machine, or ELF class << 24 | data << 16 | e_machine
};

uint32_t Little(const uint8_t* p, int width) {
  uint32_t v = 0;
  for (int i = width - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

ImageKind PeKind(const uint8_t* data, size_t size) {
  constexpr uint32_t kExecutableImage = 0x0002, kDll = 0x2000;
  if (size < 64 || data[0] != 'M' || data[1] != 'Z') return {};
  const uint32_t pe = Little(data + 60, 4);
  if (pe > size || size - pe < 24 || Little(data + pe, 4) != 0x4550) return {};
  const uint32_t characteristics = Little(data + pe + 22, 2);
  const bool runnable = (characteristics & kExecutableImage) && !(characteristics & kDll);
  return {runnable, Little(data + pe + 4, 2)};
}

ImageKind ElfKind(const uint8_t* data, size_t size) {
  constexpr uint32_t kExec = 2, kDyn = 3;
  if (size < 20 || data[0] != 0x7F || data[1] != 'E' || data[2] != 'L' || data[3] != 'F')
    return {};
  const bool big = data[5] == 2;
  const uint32_t type = big ? (data[16] << 8 | data[17]) : Little(data + 16, 2);
  const uint32_t machine = big ? (data[18] << 8 | data[19]) : Little(data + 18, 2);
  return {type == kExec || type == kDyn,
          static_cast<uint32_t>(data[4]) << 24 | static_cast<uint32_t>(data[5]) << 16 | machine};
}

// The bytes of config/cg.txt in the package appended to an image; false without one.
bool ReadClientConfig(const uint8_t* data, size_t size, ImageFormat format,
                      std::vector<uint8_t>& config) {
  const PackageLocation where = format == ImageFormat::kPe ? LocatePackagePe(data, size)
                                                           : LocatePackageElf(data, size);
  if (!where.found || where.length == 0) return false;
  std::unique_ptr<ZipArchive> package = ZipArchive::Open(data + where.offset, where.length);
  return package && package->Read(kConfigEntry, config);
}

}  // namespace

bool IsBrandedClient(const uint8_t* data, size_t size, const uint8_t* own, size_t ownSize,
                     ImageFormat format) {
  if (data == nullptr || own == nullptr) return false;
  const bool pe = format == ImageFormat::kPe;
  const ImageKind kind = pe ? PeKind(data, size) : ElfKind(data, size);
  const ImageKind ownKind = pe ? PeKind(own, ownSize) : ElfKind(own, ownSize);
  if (!kind.runnable || !ownKind.runnable || kind.machine != ownKind.machine) return false;
  std::vector<uint8_t> config;
  return ReadClientConfig(data, size, format, config);
}

std::optional<std::string> ConfiguredClientVersion(const uint8_t* data, size_t size,
                                                   ImageFormat format) {
  std::vector<uint8_t> text;
  IniDocument ini;
  if (data == nullptr || !ReadClientConfig(data, size, format, text) ||
      !ini.Load(reinterpret_cast<const char*>(text.data()), text.size()))
    return std::nullopt;
  // The version is among the global keys, read even when the rest of the record is refused;
  // no machine code is needed for it.
  ConfigRecord record;
  ParseConfig(ini, [] { return std::string(); }, record);
  return record.version;
}

}  // namespace mc
