// One network adapter as the system lists it: what a port reads and what the machine-code
// choice looks at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mc {

// Adapter types as the IP helper reports them.
inline constexpr uint32_t kAdapterTypeOther = 1;
inline constexpr uint32_t kAdapterTypeEthernet = 6;
inline constexpr uint32_t kAdapterTypeLoopback = 24;
inline constexpr uint32_t kAdapterTypeIeee80211 = 71;

struct NetAdapter {
  uint32_t type = kAdapterTypeOther;
  uint8_t address[8] = {};
  uint32_t addressLength = 0;
  std::string currentIp;             // empty when the adapter has no current address
  std::vector<std::string> ipList;  // dotted IPv4 texts in the order reported
};

}  // namespace mc
