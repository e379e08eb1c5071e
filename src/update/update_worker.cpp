#include "update/update_worker.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace mc {

// Shared by the owner and the thread, so whichever finishes last frees it.
struct UpdateWorker::State {
  UpdateRecord record;
  std::unique_ptr<UpdatePlatform> platform;
  PostResult post;
  std::shared_ptr<StopSignal> stop;

  std::mutex mutex;
  std::condition_variable changed;
  bool finished = false;

  void Run() {
    try {
      const int32_t code = RunUpdateCheck(record, *platform, *stop);
      if (code != kUpdateScriptStarted) {
        platform->LogResult(code);
        if (post) post(code, record);
      }
    } catch (...) {
      // Out of memory on the worker: nothing to report, the program goes on.
    }
    std::lock_guard<std::mutex> lock(mutex);
    finished = true;
    changed.notify_all();
  }

};

std::unique_ptr<UpdateWorker> UpdateWorker::Start(UpdateRecord record,
                                                  std::unique_ptr<UpdatePlatform> platform,
                                                  PostResult post,
                                                  std::shared_ptr<StopSignal> stop) {
  auto state = std::make_shared<State>();
  state->record = std::move(record);
  state->platform = std::move(platform);
  state->post = std::move(post);
  state->stop = stop ? std::move(stop) : std::make_shared<StopSignal>();
  std::thread([state] { state->Run(); }).detach();
  return std::unique_ptr<UpdateWorker>(new UpdateWorker(state));
}

UpdateWorker::~UpdateWorker() {
  state_->stop->Stop();
  WaitFinished(kStopWait);
}

bool UpdateWorker::WaitFinished(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(state_->mutex);
  return state_->changed.wait_for(lock, timeout, [this] { return state_->finished; });
}

}  // namespace mc
