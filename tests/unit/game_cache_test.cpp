#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "game/url_cache_cleaner.h"

namespace mc {
namespace {

// A URL cache that behaves like the platform's: each entry needs a buffer of its own size
// (at least room for its address), a too-small buffer is refused with the size needed and
// the enumeration stays on that entry.
class FakeUrlCache : public UrlCacheApi {
 public:
  struct Entry {
    std::string url;
    uint32_t size;
  };
  std::vector<Entry> entries;
  bool emptyAfterSizeQuestion = false;
  bool nextAlwaysTooSmall = false;  // a broken enumeration that never accepts a buffer
  uint32_t askedSize = 0;           // what a too-small answer reports when nextAlwaysTooSmall

  std::vector<std::string> deleted;
  std::vector<uint32_t> nextBufferSizes;
  int findFirstCalls = 0;
  int closes = 0;

  Handle FindFirst(void* buffer, uint32_t& size, uint32_t& error) override {
    ++findFirstCalls;
    if (entries.empty()) return Fail(kErrorNoMoreItems, error);
    if (!Deliver(0, buffer, size, error)) {
      if (emptyAfterSizeQuestion) entries.clear();
      return 0;
    }
    next_ = 1;
    return kHandle;
  }

  bool FindNext(Handle enumeration, void* buffer, uint32_t& size, uint32_t& error) override {
    EXPECT_EQ(enumeration, kHandle);
    nextBufferSizes.push_back(size);
    if (nextAlwaysTooSmall) {
      size = askedSize ? askedSize : size;
      error = kErrorInsufficientBuffer;
      return false;
    }
    if (next_ >= entries.size()) return Fail(kErrorNoMoreItems, error) != 0;
    if (!Deliver(next_, buffer, size, error)) return false;
    ++next_;
    return true;
  }

  void Delete(const void* entry) override {
    deleted.emplace_back(static_cast<const char*>(entry) + kUrlOffset);
  }

  void Close(Handle enumeration) override {
    EXPECT_EQ(enumeration, kHandle);
    ++closes;
  }

 private:
  static constexpr Handle kHandle = 0x5A;
  static constexpr size_t kUrlOffset = 8;

  static Handle Fail(uint32_t code, uint32_t& error) {
    error = code;
    return 0;
  }

  bool Deliver(size_t index, void* buffer, uint32_t& size, uint32_t& error) {
    const Entry& entry = entries[index];
    const uint32_t needed =
        std::max<uint32_t>(entry.size, static_cast<uint32_t>(kUrlOffset + entry.url.size() + 1));
    if (!buffer || size < needed) {
      size = needed;
      error = kErrorInsufficientBuffer;
      return false;
    }
    std::memset(buffer, 0, size);
    std::memcpy(static_cast<char*>(buffer) + kUrlOffset, entry.url.c_str(), entry.url.size() + 1);
    return true;
  }

  size_t next_ = 0;
};

TEST(GameCache, DeletesEveryEntryGrowingTheBufferForALargerOne) {
  FakeUrlCache cache;
  cache.entries = {{"http://game/a.swf", 100},
                   {"http://game/b.png", 100},
                   {"http://other/c.js", 400},
                   {"http://game/d.css", 50}};
  CleanUrlCache(cache);
  EXPECT_EQ(cache.deleted, (std::vector<std::string>{"http://game/a.swf", "http://game/b.png",
                                                     "http://other/c.js", "http://game/d.css"}));
  // b fits, c is refused at 100 and taken at 400, then d and the end with the larger buffer.
  EXPECT_EQ(cache.nextBufferSizes, (std::vector<uint32_t>{100, 100, 400, 400, 400}));
  EXPECT_EQ(cache.closes, 1);
}

TEST(GameCache, NothingHappensWithoutAnEntryToEnumerate) {
  FakeUrlCache empty;
  CleanUrlCache(empty);
  EXPECT_EQ(empty.findFirstCalls, 1);
  EXPECT_EQ(empty.closes, 0);

  // Emptied between the size question and the enumeration.
  FakeUrlCache emptied;
  emptied.entries = {{"http://game/a.swf", 100}};
  emptied.emptyAfterSizeQuestion = true;
  CleanUrlCache(emptied);
  EXPECT_EQ(emptied.findFirstCalls, 2);
  EXPECT_TRUE(emptied.deleted.empty());
  EXPECT_EQ(emptied.closes, 0);
}

TEST(GameCache, AnEnumerationThatCannotProgressEnds) {
  for (uint32_t asked : {0u, 50u, kMaxCacheEntryBytes + 1}) {
    SCOPED_TRACE(asked);
    FakeUrlCache cache;
    cache.entries = {{"http://game/a.swf", 100}, {"http://game/b.png", 100}};
    cache.nextAlwaysTooSmall = true;
    cache.askedSize = asked;  // 0: the same size again; 50: smaller; then absurdly large
    CleanUrlCache(cache);
    EXPECT_EQ(cache.deleted, (std::vector<std::string>{"http://game/a.swf"}));
    EXPECT_EQ(cache.nextBufferSizes.size(), 1u);
    EXPECT_EQ(cache.closes, 1);
  }
}

}  // namespace
}  // namespace mc
