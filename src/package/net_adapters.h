// The network adapter list, read by each port (GetAdaptersInfo on Windows, getifaddrs and
// /sys/class/net on Linux) in the order the system gives it.
#pragma once

#include <vector>

#include "base/net_adapter.h"

namespace mc {

// Empty when the list cannot be read.
std::vector<NetAdapter> ReadNetAdapters();

}  // namespace mc
