// A ZIP archive read in place from memory: the package is parsed and inflated straight from
// the mapped program file, one requested entry at a time, without copying the archive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mc {

class ZipArchive {
 public:
  // Entries larger than this are refused: the largest real entry (the launcher background)
  // is about 1 MB, and a bigger recorded size means a damaged or hostile package.
  static constexpr uint64_t kMaxEntrySize = 64ull << 20;
  // Deflate cannot expand better than this (258 bytes per 2-bit code), so a deflated entry
  // recording more than this times its compressed size is lying about its size.
  static constexpr uint64_t kMaxDeflateRatio = 1032;
  // Names this long or longer are never found.
  static constexpr size_t kMaxNameLength = 256;

  // nullptr when the bytes are not a ZIP archive. The bytes must outlive the object.
  static std::unique_ptr<ZipArchive> Open(const uint8_t* data, size_t size);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Inflates the entry named exactly `name` (byte for byte; the first of duplicates) into
  // `out`, sized to its recorded uncompressed size. False, with `out` empty, when the entry is
  // missing, damaged, encrypted, of another method than stored or deflated, or of an absurd
  // recorded size. Moves the archive's current entry, so one object serves one thread.
  bool Read(std::string_view name, std::vector<uint8_t>& out);
  // Names of all entries in central-directory order.
  std::vector<std::string> EntryNames();

 private:
  struct Source;
  struct HandleCloser {
    void operator()(void* handle) const;
  };

  ZipArchive(std::unique_ptr<Source> source, void* handle);
  bool Locate(std::string_view name);

  std::unique_ptr<Source> source_;  // declared first: the handle reads it until closed
  std::unique_ptr<void, HandleCloser> handle_;
};

}  // namespace mc
