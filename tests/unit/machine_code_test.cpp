#include "package/machine_code.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mc {
namespace {

NetAdapter Adapter(uint32_t type, std::vector<uint8_t> address, std::string currentIp,
                   std::vector<std::string> ipList) {
  NetAdapter a;
  a.type = type;
  for (size_t i = 0; i < address.size() && i < sizeof(a.address); ++i) a.address[i] = address[i];
  a.addressLength = static_cast<uint32_t>(address.size());
  a.currentIp = std::move(currentIp);
  a.ipList = std::move(ipList);
  return a;
}

const std::vector<uint8_t> kMacA = {0x00, 0xE0, 0x4C, 0x68, 0x12, 0xAB};
const std::vector<uint8_t> kMacB = {0x9c, 0x5c, 0x8e, 0x01, 0xfe, 0x0f};
const std::vector<uint8_t> kMacC = {0x02, 0x42, 0xAC, 0x11, 0x00, 0x02};

TEST(ChooseMachineCode, FirstEthernetAdapterWithAnAddress) {
  struct Case {
    const char* what;
    std::vector<NetAdapter> adapters;
    std::string code;
  } const cases[] = {
      {"no adapters", {}, ""},
      {"wireless only",
       {Adapter(kAdapterTypeIeee80211, kMacA, "", {"192.168.1.5"})}, ""},
      {"loopback and wireless before Ethernet",
       {Adapter(kAdapterTypeLoopback, kMacC, "", {"127.0.0.1"}),
        Adapter(kAdapterTypeIeee80211, kMacA, "", {"192.168.1.5"}),
        Adapter(kAdapterTypeEthernet, kMacB, "", {"10.0.0.7"})},
       "9C5C8E01FE0F"},
      {"Ethernet without address passed over",
       {Adapter(kAdapterTypeEthernet, kMacA, "", {"0.0.0.0"}),
        Adapter(kAdapterTypeEthernet, kMacB, "", {}),
        Adapter(kAdapterTypeEthernet, kMacC, "", {"10.1.2.3"})},
       "0242AC110002"},
      {"the first of several qualifying adapters",
       {Adapter(kAdapterTypeEthernet, kMacA, "", {"10.0.0.1"}),
        Adapter(kAdapterTypeEthernet, kMacB, "", {"10.0.0.2"})},
       "00E04C6812AB"},
      {"the current address is used before the list",
       {Adapter(kAdapterTypeEthernet, kMacA, "0.0.0.0", {"10.0.0.1"}),
        Adapter(kAdapterTypeEthernet, kMacB, "10.0.0.9", {"0.0.0.0"})},
       "9C5C8E01FE0F"},
      {"only the first listed address counts",
       {Adapter(kAdapterTypeEthernet, kMacA, "", {"0.0.0.0", "10.0.0.1"}),
        Adapter(kAdapterTypeEthernet, kMacB, "", {"10.0.0.2"})},
       "9C5C8E01FE0F"},
      {"six bytes whatever the reported length",
       {Adapter(kAdapterTypeEthernet, {1, 2, 3, 4, 5, 6, 7, 8}, "", {"10.0.0.1"})},
       "010203040506"},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseMachineCode(c.adapters), c.code) << c.what;
}

}  // namespace
}  // namespace mc
