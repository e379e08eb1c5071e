// The program file is untrusted input as far as these parsers go: a truncated download or a
// damaged header must give "no package", never a read past the file. All offset arithmetic is
// done in 64 bits so that header values cannot wrap a 32-bit size_t into a plausible offset.
#include "package/image_end.h"

#include <algorithm>

namespace mc {
namespace {

// True when [offset, offset + length) lies inside a file of `size` bytes.
bool Fits(uint64_t offset, uint64_t length, size_t size) {
  return offset <= size && length <= size - offset;
}

// Bounds-checked reads of unsigned fields in one byte order.
class FieldReader {
 public:
  FieldReader(const uint8_t* data, size_t size, bool bigEndian)
      : data_(data), size_(size), bigEndian_(bigEndian) {}

  // Reads `width` (at most 8) bytes at `offset`; false when they are not all inside the file.
  bool Read(uint64_t offset, unsigned width, uint64_t& value) const {
    if (!Fits(offset, width, size_)) return false;
    const uint8_t* p = data_ + static_cast<size_t>(offset);
    value = 0;
    for (unsigned i = 0; i < width; ++i) {
      const unsigned shift = 8 * (bigEndian_ ? width - 1 - i : i);
      value |= static_cast<uint64_t>(p[i]) << shift;
    }
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  bool bigEndian_;
};

PackageLocation After(uint64_t imageEnd, size_t size) {
  if (imageEnd >= size) return {};
  return {true, static_cast<size_t>(imageEnd), size - static_cast<size_t>(imageEnd)};
}

}  // namespace

PackageLocation LocatePackagePe(const uint8_t* data, size_t size) {
  constexpr uint64_t kDosHeaderSize = 64;
  constexpr uint64_t kLfanewOffset = 60;
  // "PE\0\0", the 20-byte file header and the 224-byte PE32 optional header.
  constexpr uint64_t kSectionTableOffset = 248;
  constexpr uint64_t kSectionEntrySize = 40;
  constexpr uint64_t kPe32Magic = 0x10B;

  if (data == nullptr || size < kDosHeaderSize) return {};
  const FieldReader in(data, size, false);
  uint64_t mz = 0, peOffset = 0, signature = 0, magic = 0, sections = 0;
  if (!in.Read(0, 2, mz) || mz != 0x5A4D) return {};  // "MZ"
  if (!in.Read(kLfanewOffset, 4, peOffset)) return {};
  if (!in.Read(peOffset, 4, signature) || signature != 0x4550) return {};  // "PE\0\0"
  if (!in.Read(peOffset + 6, 2, sections) || sections == 0) return {};
  // The table position assumes a PE32 optional header; anything else would be misread.
  if (!in.Read(peOffset + 24, 2, magic) || magic != kPe32Magic) return {};

  const uint64_t tableEnd = peOffset + kSectionTableOffset + kSectionEntrySize * sections;
  if (!Fits(0, tableEnd, size)) return {};
  const uint64_t last = tableEnd - kSectionEntrySize;
  uint64_t rawSize = 0, rawPointer = 0;
  if (!in.Read(last + 16, 4, rawSize) || !in.Read(last + 20, 4, rawPointer)) return {};
  const uint64_t imageEnd = rawPointer + rawSize;
  // A package cannot begin inside the headers that describe the image.
  if (imageEnd < tableEnd) return {};
  return After(imageEnd, size);
}

PackageLocation LocatePackageElf(const uint8_t* data, size_t size) {
  constexpr size_t kIdentSize = 16;
  constexpr uint64_t kPtNull = 0, kShtNull = 0, kShtNobits = 8;
  constexpr uint64_t kPnXnum = 0xFFFF;

  if (data == nullptr || size < kIdentSize) return {};
  if (data[0] != 0x7F || data[1] != 'E' || data[2] != 'L' || data[3] != 'F') return {};
  const bool is64 = data[4] == 2;
  if (data[4] != 1 && !is64) return {};
  if (data[5] != 1 && data[5] != 2) return {};
  const FieldReader in(data, size, data[5] == 2);

  // Field positions and sizes of the two classes.
  struct Layout {
    uint64_t ehdrSize, addr;  // header size, width of offsets and sizes
    uint64_t phoff, shoff, phentsize, phnum, shentsize, shnum;
    uint64_t phdrSize, pType, pOffset, pFilesz;
    uint64_t shdrSize, shType, shOffset, shSize, shInfo;
  };
  static constexpr Layout kElf32{52, 4, 28, 32, 42, 44, 46, 48, 32, 0, 4, 16, 40, 4, 16, 20, 28};
  static constexpr Layout kElf64{64, 8, 32, 40, 54, 56, 58, 60, 56, 0, 8, 32, 64, 4, 24, 32, 44};
  const Layout& l = is64 ? kElf64 : kElf32;
  const unsigned w = static_cast<unsigned>(l.addr);

  uint64_t phoff = 0, phentsize = 0, phnum = 0, shoff = 0, shentsize = 0, shnum = 0;
  if (!in.Read(l.phoff, w, phoff) || !in.Read(l.shoff, w, shoff) ||
      !in.Read(l.phentsize, 2, phentsize) || !in.Read(l.phnum, 2, phnum) ||
      !in.Read(l.shentsize, 2, shentsize) || !in.Read(l.shnum, 2, shnum)) {
    return {};
  }

  uint64_t end = l.ehdrSize;
  // Extends the image end by a region of the file; false when the region leaves the file.
  auto cover = [&](uint64_t offset, uint64_t length) {
    if (!Fits(offset, length, size)) return false;
    end = std::max(end, offset + length);
    return true;
  };
  // Covers a table of `count` entries; false when it leaves the file or its entries are short.
  auto coverTable = [&](uint64_t offset, uint64_t count, uint64_t entsize, uint64_t minEntsize) {
    if (count == 0) return true;
    if (entsize < minEntsize || count > size / entsize) return false;
    return cover(offset, count * entsize);
  };

  if (shoff != 0) {
    // Extended numbering: counts that do not fit the header live in section 0.
    if (shnum == 0 || phnum == kPnXnum) {
      if (shentsize < l.shdrSize || !Fits(shoff, l.shdrSize, size)) return {};
      if (shnum == 0 && !in.Read(shoff + l.shSize, w, shnum)) return {};
      if (phnum == kPnXnum && !in.Read(shoff + l.shInfo, 4, phnum)) return {};
    }
    if (!coverTable(shoff, shnum, shentsize, l.shdrSize)) return {};
    for (uint64_t i = 0; i < shnum; ++i) {
      const uint64_t entry = shoff + i * shentsize;
      uint64_t type = 0, offset = 0, length = 0;
      if (!in.Read(entry + l.shType, 4, type) || !in.Read(entry + l.shOffset, w, offset) ||
          !in.Read(entry + l.shSize, w, length)) {
        return {};
      }
      if (type == kShtNull || type == kShtNobits || length == 0) continue;
      if (!cover(offset, length)) return {};
    }
  } else if (phnum == kPnXnum) {
    return {};  // the real count would be in a section table that is not there
  }

  if (!coverTable(phoff, phnum, phentsize, l.phdrSize)) return {};
  for (uint64_t i = 0; i < phnum; ++i) {
    const uint64_t entry = phoff + i * phentsize;
    uint64_t type = 0, offset = 0, length = 0;
    if (!in.Read(entry + l.pType, 4, type) || !in.Read(entry + l.pOffset, w, offset) ||
        !in.Read(entry + l.pFilesz, w, length)) {
      return {};
    }
    if (type == kPtNull || length == 0) continue;
    if (!cover(offset, length)) return {};
  }

  if (!cover(0, l.ehdrSize)) return {};
  return After(end, size);
}

}  // namespace mc
