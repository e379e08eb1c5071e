#include "update/win32/update_start.h"

#include "update/win32/update_platform.h"

namespace mc::win32 {

std::unique_ptr<UpdateWorker> StartUpdateCheck(UpdateRecord record,
                                               HWND notifyWindow) {
  auto stop = std::make_shared<StopSignal>();
  auto post = [notifyWindow](int32_t code, const UpdateRecord& record) {
    // Fails quietly when the window has been destroyed.
    PostMessageA(notifyWindow, static_cast<UINT>(code), reinterpret_cast<WPARAM>(&record), 0);
  };
  return UpdateWorker::Start(std::move(record),
                             std::make_unique<Win32UpdatePlatform>(stop), post, stop);
}

}  // namespace mc::win32
