#include "platform/gtk/mapped_file_linux.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mc::gtk {
namespace {

class LinuxMappedFile : public MappedFile {
 public:
  LinuxMappedFile(void* base, size_t size) : base_(base), size_(size) {}
  ~LinuxMappedFile() override { munmap(base_, size_); }
  LinuxMappedFile(const LinuxMappedFile&) = delete;
  LinuxMappedFile& operator=(const LinuxMappedFile&) = delete;
  const uint8_t* data() const override { return static_cast<const uint8_t*>(base_); }
  size_t size() const override { return size_; }

 private:
  void* base_;
  size_t size_;
};

}  // namespace

std::unique_ptr<MappedFile> MapWholeFile(const std::string& path, MapError& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = MapError::kCannotOpen;
    return nullptr;
  }
  struct stat st {};
  void* base = MAP_FAILED;
  if (fstat(fd, &st) == 0 && st.st_size > 0)
    base = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);  // the mapping keeps the file alive
  if (base == MAP_FAILED) {
    error = MapError::kMappingFailed;
    return nullptr;
  }
  error = MapError::kNone;
  return std::make_unique<LinuxMappedFile>(base, static_cast<size_t>(st.st_size));
}

}  // namespace mc::gtk
