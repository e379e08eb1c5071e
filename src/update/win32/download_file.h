// Download files on Windows: created under their name but marked for deletion on close until
// the body is complete, so the system removes a partial file even when the process is ended
// in the middle. Systems without the disposition call (before Vista) get the plain file.
#pragma once

#include <memory>
#include <string>

#include "update/download_file.h"

namespace mc::win32 {

std::unique_ptr<DownloadFile> CreateDeletePendingDownloadFile(const std::string& path);

}  // namespace mc::win32
