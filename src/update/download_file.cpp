#include "update/download_file.h"

#include <cerrno>
#include <cstdio>

namespace mc {
namespace {

// Written under a temporary name beside the target and renamed over it when complete. A
// link left under the temporary name is removed first, so nothing is written through it;
// the C library has no exclusive create on every system, which is why the ports bring their
// own files (this one serves where they have nothing better, and the tests).
class PlainDownloadFile : public DownloadFile {
 public:
  PlainDownloadFile(std::string path, std::string temp, std::FILE* file)
      : path_(std::move(path)), temp_(std::move(temp)), file_(file) {}
  ~PlainDownloadFile() override {
    if (file_) std::fclose(file_);
    if (!committed_) std::remove(temp_.c_str());
  }
  PlainDownloadFile(const PlainDownloadFile&) = delete;
  PlainDownloadFile& operator=(const PlainDownloadFile&) = delete;

  bool Write(const uint8_t* data, size_t size) override {
    return file_ && std::fwrite(data, 1, size, file_) == size;
  }

  // A full disk may only show when the buffer is flushed or the file closed.
  bool Commit() override {
    if (!file_) return false;
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) return false;
    // Windows does not rename over an existing file (EEXIST or EACCES there); a file in the
    // way goes first. Elsewhere a file is always replaced, and a folder is never removed.
    if (std::rename(temp_.c_str(), path_.c_str()) != 0) {
      if (errno != EEXIST && errno != EACCES) return false;
      if (std::remove(path_.c_str()) != 0 || std::rename(temp_.c_str(), path_.c_str()) != 0)
        return false;
    }
    committed_ = true;
    return true;
  }

 private:
  std::string path_;
  std::string temp_;
  std::FILE* file_;
  bool committed_ = false;
};

}  // namespace

std::unique_ptr<DownloadFile> CreatePlainDownloadFile(const std::string& path) {
  std::string temp = path + ".part";
  std::remove(temp.c_str());
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) return nullptr;
  return std::make_unique<PlainDownloadFile>(path, std::move(temp), file);
}

}  // namespace mc
