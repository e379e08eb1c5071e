// Starts the update check for a launcher window on Linux.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "package/config_record.h"
#include "update/update_worker.h"

namespace mc::gtk {

// Runs the check on its own thread with copies of the configured server, port, paths and
// version and the given work directory (the current directory now). The result reaches the
// UI thread through the main loop and is handed to onResult there while
// notifyWindow still exists; no window acts on it in the client, so onResult is for tests.
// Keep the returned owner for as long as the program runs.
std::unique_ptr<UpdateWorker> StartUpdateCheck(const ConfigRecord& config,
                                               const std::string& workDirectory,
                                               GtkWidget* notifyWindow,
                                               std::function<void(int32_t)> onResult = {});

// The posting half on its own: delivers code on the UI thread to onResult while window
// exists. Safe from any thread; a window that is gone drops the result.
UpdateWorker::PostResult PostToWindow(GtkWidget* window, std::function<void(int32_t)> onResult);

}  // namespace mc::gtk
