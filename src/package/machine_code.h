// The machine code: the hardware address of the first usable Ethernet adapter, sent to the
// web server in the address of link 5. Each port reads the adapter list (net_adapters.h);
// the choice is made here.
#pragma once

#include <string>
#include <vector>

#include "base/net_adapter.h"

namespace mc {

// Twelve upper-case hex digits of the first six address bytes of the first Ethernet adapter
// with an IP address (current one, else the first listed) other than "" and "0.0.0.0";
// empty when no adapter qualifies.
std::string ChooseMachineCode(const std::vector<NetAdapter>& adapters);

}  // namespace mc
