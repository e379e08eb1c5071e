#include "update/download.h"

#include <memory>

#include "update/stop_signal.h"

namespace mc {
namespace {

// Writes the body into the local file as it arrives and remembers everything that makes the
// result unusable.
class FileReceiver : public HttpReceiver {
 public:
  FileReceiver(const std::string& path, const DownloadFileCreator& create, const StopSignal* stop,
               const DownloadLimits& limits)
      : path_(path), create_(create), stop_(stop), limits_(limits) {}

  bool OnResponse(int status, int64_t contentLength) override {
    if (responded_) return false;
    responded_ = true;
    if (status < 200 || status > 299) return false;
    std::optional<uint64_t> free;
    if (contentLength >= 0 && limits_.freeSpace) free = limits_.freeSpace(path_);
    if (!AnnouncedBodyFits(contentLength, limits_, free)) return false;  // no file made
    // Of a longer body only the head is expected.
    expected_ = Keeping() && contentLength > limits_.maxBytes ? limits_.maxBytes : contentLength;
    windowStart_ = Now();
    file_ = create_(path_);
    return file_ != nullptr;
  }

  bool OnBody(const uint8_t* data, size_t size) override {
    if (!file_ || writeFailed_ || (stop_ && stop_->stopped())) return false;
    if (BelowFloor(size)) return false;  // ends as a failure: nothing is kept
    if (limits_.maxBytes >= 0 && static_cast<int64_t>(size) > limits_.maxBytes - received_) {
      if (!Keeping()) {
        overLimit_ = true;
        return false;
      }
      size = static_cast<size_t>(limits_.maxBytes - received_);
      headCut_ = true;
    }
    if (size > 0 && !file_->Write(data, size)) {
      writeFailed_ = true;
      return false;
    }
    received_ += static_cast<int64_t>(size);
    return !headCut_;  // the head is all that is wanted: the transfer ends here
  }

  bool headCut() const { return headCut_; }

  // Gives the file its name when it holds exactly the announced body (or the wanted head) and
  // every write reached the disk; otherwise the file goes with the receiver.
  bool Finish() {
    if (!file_ || writeFailed_ || overLimit_) return false;
    if (expected_ >= 0 && received_ != expected_) return false;
    return file_->Commit();
  }

 private:
  bool Keeping() const {
    return limits_.maxBytes >= 0 && limits_.over == DownloadLimits::Over::kKeepHead;
  }

  std::chrono::steady_clock::time_point Now() const {
    return limits_.clock ? limits_.clock() : std::chrono::steady_clock::now();
  }

  // Counts `size` more bytes; true once a whole window has passed with fewer than the floor.
  bool BelowFloor(size_t size) {
    const auto now = Now();
    if (now - windowStart_ >= limits_.floorWindow) {
      if (windowBytes_ < limits_.floorBytes) return true;
      windowStart_ = now;
      windowBytes_ = 0;
    }
    windowBytes_ += static_cast<int64_t>(size);
    return false;
  }

  const std::string& path_;
  const DownloadFileCreator& create_;
  const StopSignal* stop_;
  const DownloadLimits& limits_;
  std::unique_ptr<DownloadFile> file_;
  bool responded_ = false;
  bool writeFailed_ = false;
  bool overLimit_ = false;
  bool headCut_ = false;
  int64_t expected_ = -1;
  int64_t received_ = 0;
  std::chrono::steady_clock::time_point windowStart_;
  int64_t windowBytes_ = 0;
};

}  // namespace

bool AnnouncedBodyFits(int64_t announced, const DownloadLimits& limits,
                       std::optional<uint64_t> free) {
  if (announced < 0) return true;  // judged as it arrives
  if (limits.maxBytes >= 0 && announced > limits.maxBytes) {
    if (limits.over == DownloadLimits::Over::kRefuse) return false;
    announced = limits.maxBytes;  // only the head will be written
  }
  return !free || static_cast<uint64_t>(announced) <= *free;
}

bool Download(HttpClient& http, const DownloadRequest& request, const StopSignal* stop,
              const DownloadFileCreator& create, const DownloadLimits& limits) {
  if (request.url.empty() || request.localPath.empty()) return false;
  if (stop && stop->stopped()) return false;
  FileReceiver receiver(request.localPath, create, stop, limits);
  const HttpOutcome outcome = http.Get(request.url, receiver);
  // A head cut by the receiver ends the transfer as a stop does, and is the result.
  const bool ended = outcome == HttpOutcome::kComplete ||
                     (outcome == HttpOutcome::kStopped && receiver.headCut() &&
                      !(stop && stop->stopped()));
  if (!ended) return false;  // file discarded
  return receiver.Finish();  // a failed finish leaves the file to the destructor
}

}  // namespace mc
