// The browsing session all web views of one branded client share, launcher and game window
// alike: cookies and site storage kept on disk under the XDG data folder, caches under the XDG
// cache folder, each in a folder named after the program. A login a page keeps lasts across
// starts, and a session the launcher's page opened is the game page's too. Branded clients
// with different names keep apart.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/gtk/gobject_ptr.h"

namespace mc::gtk {

// A context for `programName` (a file name, no separator); null when the name is empty or
// unusable as a folder name, and the views then use WebKit's default session.
GObjectPtr<WebKitWebContext> NewProgramWebContext(const std::string& programName);

}  // namespace mc::gtk
