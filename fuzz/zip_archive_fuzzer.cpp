// Archives of any shape, read from memory as the client reads its package: opening, listing
// and inflating entries stay inside the bytes, never allocate beyond the entry size limit and
// give the same answer however often and in whatever order they are asked.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "package/zip_archive.h"

namespace {

// Every lookup walks the central directory, so reading each of many entries is quadratic;
// the first few show everything a lookup can do.
constexpr size_t kEntriesRead = 16;

void ReadAndCheck(mc::ZipArchive& zip, const std::string& name,
                  const std::vector<std::string>& names) {
  std::vector<uint8_t> first, again;
  const bool found = zip.Read(name, first);
  if (!found) {
    FUZZ_CHECK(first.empty());
  } else {
    FUZZ_CHECK(first.size() <= mc::ZipArchive::kMaxEntrySize);
    FUZZ_CHECK(name.size() < mc::ZipArchive::kMaxNameLength);
    bool listed = false;
    for (const std::string& n : names) listed = listed || n == name;
    FUZZ_CHECK(listed);
  }
  FUZZ_CHECK(zip.Read(name, again) == found);
  FUZZ_CHECK(again == first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<mc::ZipArchive> zip = mc::ZipArchive::Open(data, size);
  if (!zip) return 0;
  const std::vector<std::string> names = zip->EntryNames();
  FUZZ_CHECK(zip->EntryNames() == names);
  for (size_t i = 0; i < names.size() && i < kEntriesRead; ++i) ReadAndCheck(*zip, names[i], names);
  // The names the client asks for, whether or not the archive has them, after the walk above
  // has moved the archive's current entry to the end.
  for (const char* name : {"config/cg.txt", "config/main1.png", "config/style.png", ""})
    ReadAndCheck(*zip, name, names);
  return 0;
}
