// Finds the package appended to a program file: everything after the end of the executable
// image. Pure functions over the bytes of the file; they never read outside them and treat
// any header that points beyond the file as a lie (no package found).
#pragma once

#include <cstddef>
#include <cstdint>

namespace mc {

// Where the appended package lies in a program file.
struct PackageLocation {
  bool found = false;
  size_t offset = 0;
  size_t length = 0;
};

// PE32: the image ends at PointerToRawData + SizeOfRawData of the last section table entry.
// The table is taken at e_lfanew + 248 (signature, file header and a PE32 optional header);
// SizeOfOptionalHeader is not consulted. found=false when nothing follows the image, or when
// the headers are not those of a PE32 file or point outside the file.
PackageLocation LocatePackagePe(const uint8_t* data, size_t size);

// ELF, 32 or 64 bit, either byte order: the image ends at the largest end of the ELF header,
// the program header table, the file contents of segments and sections (SHT_NOBITS and SHT_NULL
// excepted) and the section header table. Same contract as LocatePackagePe.
PackageLocation LocatePackageElf(const uint8_t* data, size_t size);

}  // namespace mc
