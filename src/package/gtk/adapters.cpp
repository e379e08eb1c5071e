// Adapter list from getifaddrs, shaped like the Windows IP helper's: the hardware address
// from the AF_PACKET entry, IPv4 addresses as dotted text, and the adapter type from
// /sys/class/net/<name>/type, where wireless interfaces also report Ethernet framing and so
// are told apart by their "wireless" or "phy80211" entry. Ordered by interface index.

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if_arp.h>
#include <netpacket/packet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "package/net_adapters.h"

namespace mc {

namespace {

bool PathExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

uint32_t AdapterType(const std::string& name) {
  const std::string dir = "/sys/class/net/" + name;
  int arpType = -1;
  std::ifstream(dir + "/type") >> arpType;
  if (arpType == ARPHRD_LOOPBACK) return kAdapterTypeLoopback;
  if (arpType != ARPHRD_ETHER) return kAdapterTypeOther;
  if (PathExists(dir + "/wireless") || PathExists(dir + "/phy80211")) return kAdapterTypeIeee80211;
  return kAdapterTypeEthernet;
}

struct IfaddrsDeleter {
  void operator()(ifaddrs* list) const { freeifaddrs(list); }
};

}  // namespace

std::vector<NetAdapter> ReadNetAdapters() {
  ifaddrs* raw = nullptr;
  if (getifaddrs(&raw) != 0) return {};
  const std::unique_ptr<ifaddrs, IfaddrsDeleter> list(raw);

  std::map<std::string, NetAdapter> byName;
  for (const ifaddrs* entry = list.get(); entry; entry = entry->ifa_next) {
    if (!entry->ifa_name) continue;
    NetAdapter& adapter = byName[entry->ifa_name];
    if (!entry->ifa_addr) continue;
    if (entry->ifa_addr->sa_family == AF_PACKET) {
      const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
      const size_t length = std::min<size_t>(link->sll_halen, sizeof(adapter.address));
      std::memcpy(adapter.address, link->sll_addr, length);
      adapter.addressLength = link->sll_halen;
    } else if (entry->ifa_addr->sa_family == AF_INET) {
      const auto* ip = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
      char text[INET_ADDRSTRLEN] = {};
      if (inet_ntop(AF_INET, &ip->sin_addr, text, sizeof(text))) adapter.ipList.emplace_back(text);
    }
  }

  std::multimap<unsigned, NetAdapter> byIndex;
  for (auto& [name, adapter] : byName) {
    adapter.type = AdapterType(name);
    byIndex.emplace(if_nametoindex(name.c_str()), std::move(adapter));
  }
  std::vector<NetAdapter> adapters;
  adapters.reserve(byIndex.size());
  for (auto& [index, adapter] : byIndex) adapters.push_back(std::move(adapter));
  return adapters;
}

}  // namespace mc
