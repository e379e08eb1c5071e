#include "update/download.h"

#include <cstdio>
#include <memory>

#include "update/stop_signal.h"

namespace mc {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Writes the body into the local file as it arrives and remembers everything that makes the
// result unusable.
class FileReceiver : public HttpReceiver {
 public:
  FileReceiver(const std::string& path, const StopSignal* stop) : path_(path), stop_(stop) {}
  ~FileReceiver() override { Discard(); }

  bool OnResponse(int status, int64_t contentLength) override {
    if (responded_) return false;
    responded_ = true;
    if (status < 200 || status > 299) return false;
    expected_ = contentLength;
    file_.reset(std::fopen(path_.c_str(), "wb"));
    created_ = file_ != nullptr;
    return created_;
  }

  bool OnBody(const uint8_t* data, size_t size) override {
    if (!file_ || writeFailed_ || (stop_ && stop_->stopped())) return false;
    if (size > 0 && std::fwrite(data, 1, size, file_.get()) != size) {
      writeFailed_ = true;
      return false;
    }
    received_ += static_cast<int64_t>(size);
    return true;
  }

  // Closes the file; true when it holds exactly the announced body and every write reached
  // the disk (a full disk may only show when the buffer is flushed).
  bool Finish() {
    if (!file_ || writeFailed_) return false;
    const bool flushed = std::fflush(file_.get()) == 0;
    const bool closed = std::fclose(file_.release()) == 0;
    if (!flushed || !closed) return false;
    if (expected_ >= 0 && received_ != expected_) return false;
    created_ = false;  // kept
    return true;
  }

  // Deletes what this transfer created.
  void Discard() {
    file_.reset();
    if (created_) std::remove(path_.c_str());
    created_ = false;
  }

 private:
  const std::string& path_;
  const StopSignal* stop_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  bool responded_ = false;
  bool created_ = false;
  bool writeFailed_ = false;
  int64_t expected_ = -1;
  int64_t received_ = 0;
};

}  // namespace

bool Download(HttpClient& http, const DownloadRequest& request, const StopSignal* stop) {
  if (request.url.empty() || request.localPath.empty()) return false;
  if (stop && stop->stopped()) return false;
  FileReceiver receiver(request.localPath, stop);
  if (http.Get(request.url, receiver) != HttpOutcome::kComplete) return false;  // file discarded
  return receiver.Finish();  // a failed finish leaves the file to the destructor
}

}  // namespace mc
