// Program files of any shape. Finding the appended package reads only inside the file, and
// either finds nothing or a package that starts after the image and runs to the end of the
// file (the client maps the whole file and hands exactly that range to the ZIP reader).
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "fuzz_check.h"
#include "package/image_end.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (auto locate : {&mc::LocatePackagePe, &mc::LocatePackageElf}) {
    const mc::PackageLocation where = locate(data, size);
    if (!where.found) continue;
    FUZZ_CHECK(where.offset > 0);
    FUZZ_CHECK(where.length > 0);
    FUZZ_CHECK(where.offset < size && where.length == size - where.offset);
  }
  return 0;
}
