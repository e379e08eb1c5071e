#include <fstream>
#include <iterator>
#include <system_error>

#include "mcpack.h"
#include "skin/gtk/png_decoder.h"

namespace fs = std::filesystem;

namespace mcpack {

std::optional<std::vector<uint8_t>> ReadFileBytes(const fs::path& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool IsReadableFolder(const fs::path& dir) {
  std::error_code error;
  fs::directory_iterator it(dir, error);
  return !error;
}

std::vector<mc::PackageProblem> Check(const std::string& dir) {
  const fs::path root(dir);
  // Pictures are decoded as the Linux client decodes them, with its size limits.
  const auto decode = [](const std::vector<uint8_t>& png, int& width, int& height) {
    mc::SkinPixels pixels;
    if (!mc::gtk::DecodePngToSkin(png.data(), png.size(), pixels)) return false;
    width = pixels.width();
    height = pixels.height();
    return true;
  };
  return mc::CheckPackage([&root](const std::string& name) { return ReadFileBytes(root / name); },
                          decode);
}

}  // namespace mcpack
