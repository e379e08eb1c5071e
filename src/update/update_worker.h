// Owner of the thread that runs one update check. The check keeps running when the launcher
// closes and the game window opens; when the program itself ends, the owner asks the check to
// stop (its transfer is aborted and its partial files deleted) and waits a bounded time, so a
// stalled server never keeps the process alive and no exit-time clean-up runs beside a
// transfer.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "update/stop_signal.h"
#include "update/update_check.h"

namespace mc {

class UpdateWorker {
 public:
  // How long the owner waits for a stopped check: a port polls its stop signal at least once
  // a second during a transfer.
  static constexpr std::chrono::milliseconds kStopWait{3000};

  // Called on the worker thread with the result; the port forwards it to the window the check
  // reports to, which may be gone by then.
  using PostResult = std::function<void(int32_t code, const UpdateRecord& record)>;

  // Starts RunUpdateCheck on a new thread at once. `stop` is the signal the platform's
  // transfers watch.
  static std::unique_ptr<UpdateWorker> Start(UpdateRecord record,
                                             std::unique_ptr<UpdatePlatform> platform,
                                             PostResult post, std::shared_ptr<StopSignal> stop);

  // Stops the check and waits for it up to kStopWait; a check stuck beyond that is left to
  // end with the process.
  ~UpdateWorker();
  UpdateWorker(const UpdateWorker&) = delete;
  UpdateWorker& operator=(const UpdateWorker&) = delete;

  // True when the check has finished (posted its result) within the timeout.
  bool WaitFinished(std::chrono::milliseconds timeout);

 private:
  struct State;
  explicit UpdateWorker(std::shared_ptr<State> state) : state_(std::move(state)) {}
  std::shared_ptr<State> state_;
};

}  // namespace mc
