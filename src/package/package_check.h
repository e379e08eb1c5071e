// Checks a package before it is appended to a client: reads config/cg.txt and the pictures it
// needs with the same code as the client, and reports what the client would silently cut,
// skip or refuse.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mc {

struct PackageProblem {
  std::string file;  // entry name: "config/cg.txt", a picture or "config/update.pub"
  int line = 0;      // 1-based line in file; 0 when the problem belongs to no line
  std::string message;
  bool stopsClient = false;  // a client carrying this package would not start
  // What the problem is about, for tools that show it in place: a section of config/cg.txt
  // as the client numbers it ("link3", "gamebutton2", "gamePic9", "menu1", "global") and the
  // key within it ("edgeImage4", "image", "title"). Empty for problems of a whole file and
  // for those of no single entry (counts, headers, the byte-order mark).
  std::string section;
  std::string key;
};

// Bytes of an entry, or nothing when the package has no entry of that exact name.
using PackageEntryReader =
    std::function<std::optional<std::vector<uint8_t>>(const std::string& entryName)>;
// Decodes a PNG, giving its size; false when the bytes are not a PNG that decodes.
using PngDecoder = std::function<bool(const std::vector<uint8_t>& png, int& width, int& height)>;

// Problems of config/cg.txt in line order, then those of the pictures and of the update key.
// Empty for a clean package.
std::vector<PackageProblem> CheckPackage(const PackageEntryReader& readEntry,
                                         const PngDecoder& decodePng);

}  // namespace mc
