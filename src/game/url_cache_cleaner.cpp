#include "game/url_cache_cleaner.h"

#include <vector>

namespace mc {

namespace {

// A byte buffer with the alignment of the platform's entry record.
class EntryBuffer {
 public:
  explicit EntryBuffer(uint32_t bytes) { Resize(bytes); }
  void Resize(uint32_t bytes) {
    words_.assign((bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
    bytes_ = bytes;
  }
  void* data() { return words_.data(); }
  uint32_t size() const { return bytes_; }

 private:
  std::vector<uint64_t> words_;
  uint32_t bytes_ = 0;
};

bool UsableSize(uint32_t size) { return size > 0 && size <= kMaxCacheEntryBytes; }

}  // namespace

void CleanUrlCache(UrlCacheApi& cache) {
  uint32_t needed = 0;
  uint32_t error = 0;
  if (const UrlCacheApi::Handle none = cache.FindFirst(nullptr, needed, error)) {
    cache.Close(none);  // an entry cannot fit no buffer; nothing to go on with
    return;
  }
  if (error != kErrorInsufficientBuffer || !UsableSize(needed)) return;

  EntryBuffer buffer(needed);
  uint32_t size = buffer.size();
  const UrlCacheApi::Handle enumeration = cache.FindFirst(buffer.data(), size, error);
  if (!enumeration) return;
  cache.Delete(buffer.data());

  for (;;) {
    size = buffer.size();
    if (cache.FindNext(enumeration, buffer.data(), size, error)) {
      cache.Delete(buffer.data());
      continue;
    }
    if (error != kErrorInsufficientBuffer || size <= buffer.size() || !UsableSize(size)) break;
    buffer.Resize(size);
  }
  cache.Close(enumeration);
}

}  // namespace mc
