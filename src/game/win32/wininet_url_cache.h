// The WinINet URL cache of the current user (the cache the embedded browser fills), shaped as
// the core's cache-cleaning loop wants it.
#pragma once

#include "game/url_cache_cleaner.h"

namespace mc::win32 {

class WinInetUrlCache : public UrlCacheApi {
 public:
  Handle FindFirst(void* buffer, uint32_t& size, uint32_t& error) override;
  bool FindNext(Handle enumeration, void* buffer, uint32_t& size, uint32_t& error) override;
  void Delete(const void* entry) override;
  void Close(Handle enumeration) override;
};

}  // namespace mc::win32
