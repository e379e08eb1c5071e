#include "game/win32/wininet_url_cache.h"

#include <winsock2.h>
#include <windows.h>
#include <wininet.h>

namespace mc::win32 {

UrlCacheApi::Handle WinInetUrlCache::FindFirst(void* buffer, uint32_t& size, uint32_t& error) {
  DWORD bytes = size;
  // No search pattern: all content entries (cookies and history are not enumerated).
  HANDLE enumeration = FindFirstUrlCacheEntryA(
      nullptr, static_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer), &bytes);
  error = enumeration ? 0 : GetLastError();
  size = bytes;
  return reinterpret_cast<Handle>(enumeration);
}

bool WinInetUrlCache::FindNext(Handle enumeration, void* buffer, uint32_t& size,
                               uint32_t& error) {
  DWORD bytes = size;
  const bool found =
      FindNextUrlCacheEntryA(reinterpret_cast<HANDLE>(enumeration),
                             static_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer), &bytes) != FALSE;
  error = found ? 0 : GetLastError();
  size = bytes;
  return found;
}

void WinInetUrlCache::Delete(const void* entry) {
  const auto* info = static_cast<const INTERNET_CACHE_ENTRY_INFOA*>(entry);
  if (info && info->lpszSourceUrlName) DeleteUrlCacheEntryA(info->lpszSourceUrlName);
}

void WinInetUrlCache::Close(Handle enumeration) {
  FindCloseUrlCache(reinterpret_cast<HANDLE>(enumeration));
}

}  // namespace mc::win32
