// Download files on Linux: an anonymous file (O_TMPFILE) in the target's folder, linked under
// its name only when the body is complete, so a killed process leaves no partial file. Where
// the file system has no anonymous files, the exclusive file is used. Both are renamed over
// the target when committed, so a link under the target's name is replaced, not followed.
#pragma once

#include <memory>
#include <string>

#include "update/download_file.h"

namespace mc::gtk {

std::unique_ptr<DownloadFile> CreateAnonymousDownloadFile(const std::string& path);
// A file created with O_EXCL | O_NOFOLLOW under a fresh name beside the target.
std::unique_ptr<DownloadFile> CreateExclusiveDownloadFile(const std::string& path);

}  // namespace mc::gtk
