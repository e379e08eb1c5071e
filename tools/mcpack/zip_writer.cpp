#include <minizip/zip.h>
#include <unistd.h>

#include <cstdio>
#include <limits>

#include "mcpack.h"

namespace mcpack {

namespace {

// 1980-01-01 00:00:00, the first moment a ZIP timestamp can hold (MS-DOS date and time).
constexpr uLong kFixedDosDate = (1u << 21) | (1u << 16);

// minizip's stdio functions over a copy of an open descriptor instead of a file opened by name.
voidpf OpenDescriptor(voidpf opaque, const void* /*name*/, int /*mode*/) {
  const int copy = dup(*static_cast<const int*>(opaque));
  if (copy < 0) return nullptr;
  std::FILE* file = fdopen(copy, "wb");
  if (!file) close(copy);
  return file;
}

}  // namespace

bool WriteZip(int fd, const std::vector<ZipFile>& files) {
  zlib_filefunc64_def functions;
  fill_fopen64_filefunc(&functions);
  functions.zopen64_file = OpenDescriptor;
  functions.opaque = &fd;
  zipFile zip = zipOpen2_64("package", APPEND_STATUS_CREATE, nullptr, &functions);
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
