// Emptying the browser's URL cache: every content entry of the current user's cache is
// enumerated and deleted, whatever site it came from. The enumeration fills a caller's buffer
// one entry at a time and asks for a larger buffer when an entry does not fit; the buffer
// grows and the enumeration goes on with that entry.
#pragma once

#include <cstdint>

namespace mc {

// Error numbers of the platform's cache enumeration.
inline constexpr uint32_t kErrorInsufficientBuffer = 122;
inline constexpr uint32_t kErrorNoMoreItems = 259;

// No cache entry description is anywhere near this large; a larger request is taken as a
// broken enumeration and ends the cleaning instead of allocating it.
inline constexpr uint32_t kMaxCacheEntryBytes = 1u << 20;

// The cache operations the cleaning uses, shaped like the platform's calls.
class UrlCacheApi {
 public:
  using Handle = uintptr_t;  // 0: no enumeration

  virtual ~UrlCacheApi() = default;

  // Starts enumerating all content entries into `buffer` of `size` bytes (null with 0 to ask
  // for the size). Success: a handle, the first entry in the buffer. Failure: 0 and `error`;
  // kErrorInsufficientBuffer sets `size` to the bytes the entry needs.
  virtual Handle FindFirst(void* buffer, uint32_t& size, uint32_t& error) = 0;
  // The next entry, with the same buffer and error rules.
  virtual bool FindNext(Handle enumeration, void* buffer, uint32_t& size, uint32_t& error) = 0;
  // Deletes the entry that the buffer describes, by its source address; failures (an entry in
  // use) are the cache's business.
  virtual void Delete(const void* entry) = 0;
  virtual void Close(Handle enumeration) = 0;
};

// Deletes every entry. An empty cache (the size question failing with any other error) does
// nothing, and so does a cache that empties between the size question and the enumeration.
// The enumeration ends at the first failure other than a too-small buffer, or when the size
// asked for does not grow the buffer (an enumeration that would never make progress).
void CleanUrlCache(UrlCacheApi& cache);

}  // namespace mc
