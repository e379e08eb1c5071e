#include "update/download_file.h"

#include <cstdio>

namespace mc {
namespace {

class PlainDownloadFile : public DownloadFile {
 public:
  PlainDownloadFile(std::string path, std::FILE* file) : path_(std::move(path)), file_(file) {}
  ~PlainDownloadFile() override {
    if (file_) std::fclose(file_);
    if (!committed_) std::remove(path_.c_str());
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
    committed_ = flushed && closed;
    return committed_;
  }

 private:
  std::string path_;
  std::FILE* file_;
  bool committed_ = false;
};

}  // namespace

std::unique_ptr<DownloadFile> CreatePlainDownloadFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return nullptr;
  return std::make_unique<PlainDownloadFile>(path, file);
}

}  // namespace mc
