// How the owner of a running update check asks it to stop, from another thread. The check
// polls stopped() between steps and blocks; a port whose transfer can block in a call it
// cannot poll registers an abort action (closing its connection), which Stop() runs on the
// asking thread.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>

namespace mc {

class StopSignal {
 public:
  bool stopped() const { return stopped_.load(std::memory_order_acquire); }

  void Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_.store(true, std::memory_order_release);
    if (abort_) abort_();
    abort_ = nullptr;
  }

  // Installs the action Stop() runs; runs it at once when the stop came first. After
  // ClearAbortAction() returns, the action is neither running nor going to run.
  void SetAbortAction(std::function<void()> action) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopped()) {
      action();
      return;
    }
    abort_ = std::move(action);
  }
  void ClearAbortAction() {
    std::lock_guard<std::mutex> lock(mutex_);
    abort_ = nullptr;
  }

 private:
  std::atomic<bool> stopped_{false};
  std::mutex mutex_;
  std::function<void()> abort_;
};

}  // namespace mc
