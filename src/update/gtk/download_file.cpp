#include "update/gtk/download_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace mc::gtk {
namespace {

// Either an anonymous file (O_TMPFILE), linked under a fresh name when complete, or, where
// the file system has none, a file created exclusively under a fresh name from the start. The
// fresh name is then renamed over the target. Neither step follows a link: O_EXCL and linkat
// fail on any existing name, and rename replaces a link rather than its target.
class LinuxDownloadFile : public DownloadFile {
 public:
  LinuxDownloadFile(std::string path, int fd, std::string named)
      : path_(std::move(path)), fd_(fd), named_(std::move(named)) {}
  ~LinuxDownloadFile() override {
    if (fd_ >= 0) close(fd_);  // an anonymous file vanishes with its last descriptor
    if (!named_.empty()) unlink(named_.c_str());
  }
  LinuxDownloadFile(const LinuxDownloadFile&) = delete;
  LinuxDownloadFile& operator=(const LinuxDownloadFile&) = delete;

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

  // The target is either absent, the old file or the complete new one.
  bool Commit() override {
    if (named_.empty()) {
      const std::string self = "/proc/self/fd/" + std::to_string(fd_);
      for (int attempt = 0; attempt < 100 && named_.empty(); ++attempt) {
        const std::string name = FreshName(path_, attempt);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
          named_ = name;
        else if (errno != EEXIST)
          break;
      }
    }
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    if (named_.empty() || !closed || std::rename(named_.c_str(), path_.c_str()) != 0) return false;
    named_.clear();
    return true;
  }

  static std::string FreshName(const std::string& path, int attempt) {
    return path + ".part" + std::to_string(getpid()) + "-" + std::to_string(attempt);
  }

 private:
  std::string path_;
  int fd_;
  std::string named_;  // the file's own name while it has one and is not yet the target
};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::unique_ptr<DownloadFile> CreateAnonymousDownloadFile(const std::string& path) {
  const int fd = open(FolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd >= 0) return std::make_unique<LinuxDownloadFile>(path, fd, std::string());
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return nullptr;
  return CreateExclusiveDownloadFile(path);
}

std::unique_ptr<DownloadFile> CreateExclusiveDownloadFile(const std::string& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = LinuxDownloadFile::FreshName(path, attempt);
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return std::make_unique<LinuxDownloadFile>(path, fd, std::move(name));
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

}  // namespace mc::gtk
