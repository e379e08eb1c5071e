#include "package/machine_code.h"

#include <string_view>

namespace mc {

namespace {

std::string_view IpText(const NetAdapter& adapter) {
  if (!adapter.currentIp.empty()) return adapter.currentIp;
  if (!adapter.ipList.empty()) return adapter.ipList.front();
  return {};
}

}  // namespace

std::string ChooseMachineCode(const std::vector<NetAdapter>& adapters) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const NetAdapter& adapter : adapters) {
    if (adapter.type != kAdapterTypeEthernet) continue;
    const std::string_view ip = IpText(adapter);
    if (ip.empty() || ip == "0.0.0.0") continue;
    // Six bytes whatever length the adapter reports.
    std::string code;
    for (int i = 0; i < 6; ++i) {
      code += kHex[adapter.address[i] >> 4];
      code += kHex[adapter.address[i] & 0x0F];
    }
    return code;
  }
  return {};
}

}  // namespace mc
