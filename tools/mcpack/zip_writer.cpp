#include <minizip/zip.h>

#include <limits>

#include "mcpack.h"

namespace mcpack {

namespace {

// 1980-01-01 00:00:00, the first moment a ZIP timestamp can hold (MS-DOS date and time).
constexpr uLong kFixedDosDate = (1u << 21) | (1u << 16);

}  // namespace

bool WriteZip(const std::string& path, const std::vector<ZipFile>& files) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (!zip) return false;
  bool ok = true;
  for (const ZipFile& file : files) {
    ok = file.data.size() <= std::numeric_limits<unsigned>::max();
    if (!ok) break;
    zip_fileinfo info{};
    info.dosDate = kFixedDosDate;
    ok = zipOpenNewFileInZip(zip, file.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                             Z_DEFLATED, Z_BEST_COMPRESSION) == ZIP_OK;
    if (!ok) break;
    ok = zipWriteInFileInZip(zip, file.data.data(), static_cast<unsigned>(file.data.size())) ==
         ZIP_OK;
    ok = zipCloseFileInZip(zip) == ZIP_OK && ok;
    if (!ok) break;
  }
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

}  // namespace mcpack
