// The network adapter list, read by each port (GetAdaptersInfo on Windows, getifaddrs and
// /sys/class/net on Linux) in the order the system gives it.
#pragma once

#include <string>
#include <vector>

#include "package/machine_code.h"

namespace mc {

// Empty when the list cannot be read.
std::vector<NetAdapter> ReadNetAdapters();

inline std::string QueryMachineCode() { return ChooseMachineCode(ReadNetAdapters()); }

}  // namespace mc
