#include "update/gtk/download_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace mc::gtk {
namespace {

class AnonymousDownloadFile : public DownloadFile {
 public:
  AnonymousDownloadFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
  ~AnonymousDownloadFile() override {
    if (fd_ >= 0) close(fd_);  // an anonymous file vanishes with its last descriptor
  }
  AnonymousDownloadFile(const AnonymousDownloadFile&) = delete;
  AnonymousDownloadFile& operator=(const AnonymousDownloadFile&) = delete;

  bool Write(const uint8_t* data, size_t size) override {
    while (size > 0) {
      const ssize_t n = write(fd_, data, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      data += n;
      size -= static_cast<size_t>(n);
    }
    return true;
  }

  // Links the file under a name of its own next to the target, then renames it over the
  // target, so the target is either absent, the old file or the complete new one.
  bool Commit() override {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    std::string linked;
    for (int attempt = 0; attempt < 100 && linked.empty(); ++attempt) {
      const std::string name =
          path_ + ".part" + std::to_string(getpid()) + "-" + std::to_string(attempt);
      if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        linked = name;
      else if (errno != EEXIST)
        break;
    }
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    if (linked.empty()) return false;
    if (!closed || std::rename(linked.c_str(), path_.c_str()) != 0) {
      unlink(linked.c_str());
      return false;
    }
    return true;
  }

 private:
  std::string path_;
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::unique_ptr<DownloadFile> CreateAnonymousDownloadFile(const std::string& path) {
  const int fd = open(FolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return CreatePlainDownloadFile(path);
  return std::make_unique<AnonymousDownloadFile>(path, fd);
}

}  // namespace mc::gtk
