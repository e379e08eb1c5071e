// The machine code: the hardware address of the first usable Ethernet adapter, sent to the
// web server in the address of link 5. Each port reads the adapter list (net_adapters.h);
// the choice is made here.
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

// Twelve upper-case hex digits of the first six address bytes of the first Ethernet adapter
// with an IP address (current one, else the first listed) other than "" and "0.0.0.0";
// empty when no adapter qualifies.
std::string ChooseMachineCode(const std::vector<NetAdapter>& adapters);

}  // namespace mc
