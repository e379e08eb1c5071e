// Adapter list from the IP helper. The buffer starts with room for one record and is
// reallocated once with the size the first call reports; the second call is always made.

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstring>
#include <memory>

#include "package/net_adapters.h"

namespace mc {

namespace {

constexpr ULONG kOneAdapterRecord = 648;

struct GlobalFreeDeleter {
  void operator()(void* memory) const { GlobalFree(memory); }
};
using GlobalBuffer = std::unique_ptr<void, GlobalFreeDeleter>;

GlobalBuffer AllocZeroed(ULONG size) { return GlobalBuffer(GlobalAlloc(GPTR, size)); }

std::string AddressText(const IP_ADDR_STRING& entry) {
  const char* text = entry.IpAddress.String;
  return std::string(text, strnlen(text, sizeof(entry.IpAddress.String)));
}

}  // namespace

std::vector<NetAdapter> ReadNetAdapters() {
  ULONG size = kOneAdapterRecord;
  GlobalBuffer buffer = AllocZeroed(size);
  if (GetAdaptersInfo(static_cast<IP_ADAPTER_INFO*>(buffer.get()), &size) != ERROR_SUCCESS)
    buffer = AllocZeroed(size);
  if (!buffer ||
      GetAdaptersInfo(static_cast<IP_ADAPTER_INFO*>(buffer.get()), &size) != ERROR_SUCCESS)
    return {};

  std::vector<NetAdapter> adapters;
  for (const IP_ADAPTER_INFO* info = static_cast<const IP_ADAPTER_INFO*>(buffer.get()); info;
       info = info->Next) {
    NetAdapter& adapter = adapters.emplace_back();
    adapter.type = info->Type;
    static_assert(sizeof(adapter.address) == sizeof(info->Address));
    std::memcpy(adapter.address, info->Address, sizeof(adapter.address));
    adapter.addressLength = info->AddressLength;
    if (info->CurrentIpAddress) adapter.currentIp = AddressText(*info->CurrentIpAddress);
    for (const IP_ADDR_STRING* entry = &info->IpAddressList; entry; entry = entry->Next)
      adapter.ipList.push_back(AddressText(*entry));
  }
  return adapters;
}

}  // namespace mc
