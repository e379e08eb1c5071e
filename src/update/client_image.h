// Whether a downloaded file can replace the running program: a new version is only installed
// when it is a branded client this port can start, so a truncated transfer, an error page
// served with status 200 or a client of the other port never takes the program's place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/app_host.h"

namespace mc {

// True when `data` is an executable image of the same kind as `own` (the running program):
// PE32 with the same machine, executable and not a DLL; or ELF of the same class, byte order
// and machine, of type executable or shared object. It must also carry an appended package
// whose config/cg.txt can be read.
bool IsBrandedClient(const uint8_t* data, size_t size, const uint8_t* own, size_t ownSize,
                     ImageFormat format);

// The version a client is configured with (config/cg.txt of its appended package, read as the
// client itself reads it); nullopt when it has no package or no readable configuration.
std::optional<std::string> ConfiguredClientVersion(const uint8_t* data, size_t size,
                                                   ImageFormat format);

}  // namespace mc
