#include "platform/gtk/file_mapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mc::gtk {

std::unique_ptr<FileMapping> FileMapping::Open(const std::string& path, Error& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Error::kCannotOpen;
    return nullptr;
  }
  struct stat st {};
  void* base = MAP_FAILED;
  if (fstat(fd, &st) == 0 && st.st_size > 0)
    base = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);  // the mapping keeps the file alive
  if (base == MAP_FAILED) {
    error = Error::kMappingFailed;
    return nullptr;
  }
  error = Error::kNone;
  return std::unique_ptr<FileMapping>(new FileMapping(base, static_cast<size_t>(st.st_size)));
}

FileMapping::~FileMapping() { munmap(base_, size_); }

}  // namespace mc::gtk
