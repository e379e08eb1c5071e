// Starts the update check for a launcher window on Windows.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "update/update_worker.h"

namespace mc::win32 {

// Runs the check on its own thread with its own record (see MakeUpdateRecord). The result is
// posted to notifyWindow as a message whose number is the result code (WPARAM: the check's
// record, LPARAM: 0); no window acts on it, and a window that is gone by then is no error. Keep the
// returned owner for as long as the program runs.
std::unique_ptr<UpdateWorker> StartUpdateCheck(UpdateRecord record,
                                               HWND notifyWindow);

}  // namespace mc::win32
