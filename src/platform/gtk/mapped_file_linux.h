// Read-only mapping of a whole file, unmapped and closed on destruction.
#pragma once

#include <memory>
#include <string>

#include "app/app_host.h"

namespace mc::gtk {

std::unique_ptr<MappedFile> MapWholeFile(const std::string& path, MapError& error);

}  // namespace mc::gtk
