// Files mapped read-only as the core reads them: the program's own file and downloads.
#pragma once

#include <memory>
#include <string>

#include "base/app_host.h"

namespace mc::win32 {

// nullptr with the reason when the file cannot be opened or mapped.
std::unique_ptr<MappedFile> MapFile(const std::string& path, MapError& error);

}  // namespace mc::win32
