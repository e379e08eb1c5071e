#include "update/download.h"

#include <memory>

#include "update/stop_signal.h"

namespace mc {
namespace {

// Writes the body into the local file as it arrives and remembers everything that makes the
// result unusable.
class FileReceiver : public HttpReceiver {
 public:
  FileReceiver(const std::string& path, const DownloadFileCreator& create, const StopSignal* stop)
      : path_(path), create_(create), stop_(stop) {}

  bool OnResponse(int status, int64_t contentLength) override {
    if (responded_) return false;
    responded_ = true;
    if (status < 200 || status > 299) return false;
    expected_ = contentLength;
    file_ = create_(path_);
    return file_ != nullptr;
  }

  bool OnBody(const uint8_t* data, size_t size) override {
    if (!file_ || writeFailed_ || (stop_ && stop_->stopped())) return false;
    if (size > 0 && !file_->Write(data, size)) {
      writeFailed_ = true;
      return false;
    }
    received_ += static_cast<int64_t>(size);
    return true;
  }

  // Gives the file its name when it holds exactly the announced body and every write reached
  // the disk; otherwise the file goes with the receiver.
  bool Finish() {
    if (!file_ || writeFailed_) return false;
    if (expected_ >= 0 && received_ != expected_) return false;
    return file_->Commit();
  }

 private:
  const std::string& path_;
  const DownloadFileCreator& create_;
  const StopSignal* stop_;
  std::unique_ptr<DownloadFile> file_;
  bool responded_ = false;
  bool writeFailed_ = false;
  int64_t expected_ = -1;
  int64_t received_ = 0;
};

}  // namespace

bool Download(HttpClient& http, const DownloadRequest& request, const StopSignal* stop,
              const DownloadFileCreator& create) {
  if (request.url.empty() || request.localPath.empty()) return false;
  if (stop && stop->stopped()) return false;
  FileReceiver receiver(request.localPath, create, stop);
  if (http.Get(request.url, receiver) != HttpOutcome::kComplete) return false;  // file discarded
  return receiver.Finish();  // a failed finish leaves the file to the destructor
}

}  // namespace mc
