// Starts the update check for a launcher window on Windows.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "package/config_record.h"
#include "update/update_worker.h"

namespace mc::win32 {

// Runs the check on its own thread with copies of the configured server, port, paths and
// version and the given work directory (the current directory now). The result is posted to
// notifyWindow as a message whose number is the result code (WPARAM: the check's record,
// LPARAM: 0); no window acts on it, and a window that is gone by then is no error. Keep the
// returned owner for as long as the program runs.
std::unique_ptr<UpdateWorker> StartUpdateCheck(const ConfigRecord& config,
                                               const std::string& workDirectory,
                                               HWND notifyWindow);

}  // namespace mc::win32
