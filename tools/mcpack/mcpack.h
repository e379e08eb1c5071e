// Pieces of the package tool that touch files and third-party formats; the checks themselves
// live in the core (package/package_check.h) so the tool judges a package as the client reads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mcpack {

// Decodes a PNG completely (a damaged one fails part-way), giving its size.
bool DecodePng(const std::vector<uint8_t>& png, int& width, int& height);

struct ZipFile {
  std::string name;  // entry name as stored, "/" separated
  std::vector<uint8_t> data;
};

// Writes a standalone ZIP archive at path: the files in the given order, deflated, every
// timestamp the same, so equal inputs give equal bytes. False when the file cannot be written.
bool WriteZip(const std::string& path, const std::vector<ZipFile>& files);

}  // namespace mcpack
