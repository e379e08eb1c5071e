#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "mcpack.h"
#include "package/zip_archive.h"
#include "skin/gtk/png_decoder.h"

namespace fs = std::filesystem;

namespace mcpack {

std::optional<std::vector<uint8_t>> ReadFileBytes(const fs::path& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  // In blocks, not a byte at a time: clients are tens of megabytes in sanitizer builds.
  std::vector<uint8_t> bytes;
  char block[1 << 16];
  while (in.read(block, sizeof block) || in.gcount() > 0)
    bytes.insert(bytes.end(), block, block + in.gcount());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool IsReadableFolder(const fs::path& dir) {
  std::error_code error;
  fs::directory_iterator it(dir, error);
  return !error;
}

bool WriteNewFile(const std::string& path, const std::string& bytes) {
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());  // O_CREAT | O_EXCL: a link there makes it fail
  if (fd < 0) return false;
  const mode_t mask = umask(0);
  umask(mask);
  bool ok = fchmod(fd, 0666 & ~mask) == 0;
  for (size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = close(fd) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

std::optional<EntryFault> FirstUnpackableEntry(const fs::path& dir) {
  const fs::path config = dir / "config";
  const auto what = [](const fs::file_status& status) -> const char* {
    switch (status.type()) {
      case fs::file_type::regular:
      case fs::file_type::directory:
      case fs::file_type::not_found: return nullptr;
      case fs::file_type::symlink: return "a symbolic link";
      case fs::file_type::fifo: return "a named pipe";
      case fs::file_type::socket: return "a socket";
      case fs::file_type::block:
      case fs::file_type::character: return "a device";
      default: return "not a regular file";
    }
  };
  std::error_code error;
  if (const char* kind = what(fs::symlink_status(config, error)))
    return EntryFault{config.string(), kind};
  // The iterator does not descend into linked folders; every link is reported instead.
  for (fs::recursive_directory_iterator it(config, error), end; !error && it != end;
       it.increment(error)) {
    const fs::file_status status = it->symlink_status(error);
    if (const char* kind = what(status)) return EntryFault{it->path().string(), kind};
    if (status.type() != fs::file_type::regular) continue;
    const uintmax_t size = it->file_size(error);
    if (!error && size > mc::ZipArchive::kMaxEntrySize)
      return EntryFault{it->path().string(),
                        std::to_string(size) + " bytes, more than the client takes (" +
                            std::to_string(mc::ZipArchive::kMaxEntrySize) + " bytes a file)",
                        true};
    error.clear();
  }
  return std::nullopt;
}

std::string Describe(const EntryFault& fault) {
  return fault.path + ": " + fault.what +
         (fault.tooLarge ? "" : "; a package holds only folders and regular files");
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
