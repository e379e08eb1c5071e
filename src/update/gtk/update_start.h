// Starts the update check for a launcher window on Linux.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "update/update_worker.h"

namespace mc::gtk {

// Runs the check on its own thread with its own record (see MakeUpdateRecord). The result
// reaches the UI thread through the main loop and is handed to onResult there while
// notifyWindow still exists; no window acts on it in the client, so onResult is for tests.
// Keep the returned owner for as long as the program runs.
std::unique_ptr<UpdateWorker> StartUpdateCheck(UpdateRecord record,
                                               GtkWidget* notifyWindow,
                                               std::function<void(int32_t)> onResult = {});

// The posting half on its own: delivers code on the UI thread to onResult while window
// exists. Safe from any thread; a window that is gone drops the result.
UpdateWorker::PostResult PostToWindow(GtkWidget* window, std::function<void(int32_t)> onResult);

}  // namespace mc::gtk
