// Download files on Linux: an anonymous file (O_TMPFILE) in the target's folder, linked under
// its name only when the body is complete, so a killed process leaves no partial file. Where
// the file system has no anonymous files, the plain file is used.
#pragma once

#include <memory>
#include <string>

#include "update/download_file.h"

namespace mc::gtk {

std::unique_ptr<DownloadFile> CreateAnonymousDownloadFile(const std::string& path);

}  // namespace mc::gtk
