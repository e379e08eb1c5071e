#include "package/image_end.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace mc {
namespace {

using File = std::vector<uint8_t>;

void Put(File& file, uint64_t offset, int width, uint64_t value, bool bigEndian = false) {
  for (int i = 0; i < width; ++i) {
    const int shift = 8 * (bigEndian ? width - 1 - i : i);
    file[static_cast<size_t>(offset) + i] = static_cast<uint8_t>(value >> shift);
  }
}

void Append(File& file, size_t count) {
  for (size_t i = 0; i < count; ++i) file.push_back(static_cast<uint8_t>('P' + i % 7));
}

// Locates on an exact-size copy, so a read past the end is a read past the allocation.
PackageLocation Locate(PackageLocation (*locate)(const uint8_t*, size_t), const File& file,
                       size_t length) {
  const File copy(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
  return locate(copy.data(), copy.size());
}

// Checks every prefix of `file`: a package exactly when bytes follow `imageEnd`.
void ExpectPackageAfterEveryPrefix(PackageLocation (*locate)(const uint8_t*, size_t),
                                   const File& file, size_t imageEnd) {
  for (size_t length = 0; length <= file.size(); ++length) {
    const PackageLocation where = Locate(locate, file, length);
    ASSERT_EQ(where.found, length > imageEnd) << "prefix of " << length;
    if (where.found) {
      EXPECT_EQ(where.offset, imageEnd);
      EXPECT_EQ(where.length, length - imageEnd);
    }
  }
}

// A minimal PE32 file: DOS header, "PE\0\0", file header, optional header and three
// sections of 0x200 raw bytes each, from 0x200 to 0x800.
constexpr uint64_t kLfanew = 0x80;
constexpr uint64_t kSectionTable = kLfanew + 248;
constexpr size_t kPeImageEnd = 0x800;

uint64_t PeSection(int index) { return kSectionTable + 40 * static_cast<uint64_t>(index); }

File MakePe() {
  File pe(kPeImageEnd, 0);
  Put(pe, 0, 2, 0x5A4D);  // "MZ"
  Put(pe, 60, 4, kLfanew);
  Put(pe, kLfanew, 4, 0x4550);  // "PE\0\0"
  Put(pe, kLfanew + 4, 2, 0x14C);  // i386
  Put(pe, kLfanew + 6, 2, 3);
  Put(pe, kLfanew + 20, 2, 224);    // SizeOfOptionalHeader
  Put(pe, kLfanew + 24, 2, 0x10B);  // PE32
  for (int i = 0; i < 3; ++i) {
    Put(pe, PeSection(i) + 16, 4, 0x200);                 // SizeOfRawData
    Put(pe, PeSection(i) + 20, 4, 0x200 + 0x200u * i);  // PointerToRawData
  }
  return pe;
}

TEST(LocatePackagePe, PackageStartsAfterTheLastSectionTableEntry) {
  File pe = MakePe();
  EXPECT_FALSE(LocatePackagePe(pe.data(), pe.size()).found) << "nothing appended";
  Append(pe, 300);
  // Every shorter file is a truncated image or has a shorter package.
  ExpectPackageAfterEveryPrefix(&LocatePackagePe, pe, kPeImageEnd);
}

TEST(LocatePackagePe, UsesTheTableEntryAtIndexCountMinusOne) {
  File pe = MakePe();
  Append(pe, 300);
  // The first section's data reaching further does not matter, nor does the optional
  // header size: the table is always taken at e_lfanew + 248.
  Put(pe, PeSection(0) + 16, 4, 0x900);
  Put(pe, kLfanew + 20, 2, 240);
  PackageLocation where = LocatePackagePe(pe.data(), pe.size());
  EXPECT_TRUE(where.found);
  EXPECT_EQ(where.offset, kPeImageEnd);
  // With two sections the middle one is the last.
  Put(pe, kLfanew + 6, 2, 2);
  where = LocatePackagePe(pe.data(), pe.size());
  EXPECT_TRUE(where.found);
  EXPECT_EQ(where.offset, 0x600u);
}

TEST(LocatePackagePe, LyingHeadersFindNothing) {
  const std::vector<std::pair<const char*, std::function<void(File&)>>> cases = {
      {"no MZ", [](File& f) { Put(f, 0, 2, 0x4D5A); }},
      {"no PE signature", [](File& f) { Put(f, kLfanew, 4, 0x4545); }},
      {"PE32+ optional header", [](File& f) { Put(f, kLfanew + 24, 2, 0x20B); }},
      {"e_lfanew beyond the file", [](File& f) { Put(f, 60, 4, 0x10000); }},
      {"e_lfanew wrapping 32 bits", [](File& f) { Put(f, 60, 4, 0xFFFFFFF0u); }},
      {"zero sections", [](File& f) { Put(f, kLfanew + 6, 2, 0); }},
      {"section table beyond the file", [](File& f) { Put(f, kLfanew + 6, 2, 60); }},
      {"huge section count", [](File& f) { Put(f, kLfanew + 6, 2, 0xFFFF); }},
      {"raw data beyond the file", [](File& f) { Put(f, PeSection(2) + 16, 4, 0x10000); }},
      {"raw data end wrapping 32 bits",
       [](File& f) {
         Put(f, PeSection(2) + 20, 4, 0xFFFFFF00u);
         Put(f, PeSection(2) + 16, 4, 0x100 + kPeImageEnd);
       }},
      {"image end inside the headers",
       [](File& f) {
         Put(f, PeSection(2) + 16, 4, 0);
         Put(f, PeSection(2) + 20, 4, 0);
       }},
  };
  for (const auto& [what, lie] : cases) {
    File pe = MakePe();
    Append(pe, 300);
    lie(pe);
    EXPECT_FALSE(LocatePackagePe(pe.data(), pe.size()).found) << what;
  }
  EXPECT_FALSE(LocatePackagePe(nullptr, 0).found);
}

// A synthetic ELF file of either class and byte order:
//   0x000 ELF header, then the program header table (a PT_LOAD over 0..0x180, a PT_NOTE)
//   0x100 .text (0x80 bytes)    0x180 .data (0x40 bytes)    0x1C0 .bss (SHT_NOBITS, 64 KiB)
//   0x200 section header table (5 entries)    then .comment (0x30 bytes), ending the image
struct ElfShape {
  bool is64;
  bool bigEndian;
  uint64_t ehdrSize() const { return is64 ? 64 : 52; }
  uint64_t phentsize() const { return is64 ? 56 : 32; }
  uint64_t shentsize() const { return is64 ? 64 : 40; }
  int word() const { return is64 ? 8 : 4; }
  static constexpr uint64_t kShoff = 0x200;
  static constexpr int kSections = 5;
  uint64_t commentOffset() const { return kShoff + kSections * shentsize(); }
  uint64_t imageEnd() const { return commentOffset() + 0x30; }
  uint64_t section(int index) const { return kShoff + index * shentsize(); }
  // Positions of header fields.
  uint64_t phoffField() const { return is64 ? 32 : 28; }
  uint64_t shoffField() const { return is64 ? 40 : 32; }
  uint64_t phnumField() const { return is64 ? 56 : 44; }
  uint64_t shentsizeField() const { return is64 ? 58 : 46; }
  uint64_t shnumField() const { return is64 ? 60 : 48; }
  uint64_t shOffsetField() const { return is64 ? 24 : 16; }
  uint64_t shSizeField() const { return is64 ? 32 : 20; }
  uint64_t pFileszField() const { return is64 ? 32 : 16; }

  void Put(File& f, uint64_t offset, int width, uint64_t value) const {
    mc::Put(f, offset, width, value, bigEndian);
  }
  void PutWord(File& f, uint64_t offset, uint64_t value) const { Put(f, offset, word(), value); }

  File Make() const {
    File f(static_cast<size_t>(imageEnd()), 0);
    f[0] = 0x7F, f[1] = 'E', f[2] = 'L', f[3] = 'F';
    f[4] = is64 ? 2 : 1;
    f[5] = bigEndian ? 2 : 1;
    f[6] = 1;
    PutWord(f, phoffField(), ehdrSize());
    PutWord(f, shoffField(), kShoff);
    Put(f, phnumField() - 2, 2, phentsize());
    Put(f, phnumField(), 2, 2);
    Put(f, shentsizeField(), 2, shentsize());
    Put(f, shnumField(), 2, kSections);
    // Program headers: PT_LOAD, PT_NOTE.
    const uint64_t ph = ehdrSize();
    const uint64_t pOffset = is64 ? 8 : 4;
    Put(f, ph, 4, 1);
    PutWord(f, ph + pOffset, 0);
    PutWord(f, ph + pFileszField(), 0x180);
    Put(f, ph + phentsize(), 4, 4);
    PutWord(f, ph + phentsize() + pOffset, 0x100);
    PutWord(f, ph + phentsize() + pFileszField(), 0x20);
    // Sections: null, .text, .data, .bss, .comment.
    struct Section {
      uint32_t type;
      uint64_t offset, size;
    };
    const Section sections[kSections] = {
        {0, 0, 0}, {1, 0x100, 0x80}, {1, 0x180, 0x40}, {8, 0x1C0, 0x10000}, {1, commentOffset(), 0x30}};
    for (int i = 0; i < kSections; ++i) {
      Put(f, section(i) + 4, 4, sections[i].type);
      PutWord(f, section(i) + shOffsetField(), sections[i].offset);
      PutWord(f, section(i) + shSizeField(), sections[i].size);
    }
    return f;
  }

  std::string Name() const {
    return std::string(is64 ? "ELF64" : "ELF32") + (bigEndian ? " big-endian" : " little-endian");
  }
};

const ElfShape kElfShapes[] = {{false, false}, {false, true}, {true, false}, {true, true}};

TEST(LocatePackageElf, PackageStartsAtTheLargestEndOfHeadersTablesAndContents) {
  for (const ElfShape& shape : kElfShapes) {
    SCOPED_TRACE(shape.Name());
    File elf = shape.Make();
    EXPECT_FALSE(LocatePackageElf(elf.data(), elf.size()).found) << "nothing appended";
    Append(elf, 200);
    ExpectPackageAfterEveryPrefix(&LocatePackageElf, elf, static_cast<size_t>(shape.imageEnd()));

    // Without .comment the section header table ends the image; the NOBITS .bss never does.
    shape.Put(elf, shape.section(4) + 4, 4, 8);
    PackageLocation where = LocatePackageElf(elf.data(), elf.size());
    EXPECT_TRUE(where.found);
    EXPECT_EQ(where.offset, shape.commentOffset());

    // Counts too large for the header live in section 0 (shnum 0, sh_size of section 0).
    elf = shape.Make();
    Append(elf, 200);
    shape.Put(elf, shape.shnumField(), 2, 0);
    shape.PutWord(elf, shape.section(0) + shape.shSizeField(), ElfShape::kSections);
    where = LocatePackageElf(elf.data(), elf.size());
    EXPECT_TRUE(where.found);
    EXPECT_EQ(where.offset, shape.imageEnd());
  }
}

TEST(LocatePackageElf, LyingHeadersFindNothing) {
  const std::vector<std::pair<const char*, std::function<void(const ElfShape&, File&)>>> cases = {
      {"no ELF magic", [](const ElfShape&, File& f) { f[1] = 'X'; }},
      {"unknown class", [](const ElfShape&, File& f) { f[4] = 3; }},
      {"unknown byte order", [](const ElfShape&, File& f) { f[5] = 0; }},
      {"section header table beyond the file",
       [](const ElfShape& s, File& f) { s.PutWord(f, s.shoffField(), 0x10000); }},
      {"huge section count",
       [](const ElfShape& s, File& f) { s.Put(f, s.shnumField(), 2, 0xFFFF); }},
      {"section entries too short",
       [](const ElfShape& s, File& f) { s.Put(f, s.shentsizeField(), 2, 16); }},
      {"section contents beyond the file",
       [](const ElfShape& s, File& f) { s.PutWord(f, s.section(2) + s.shSizeField(), 0x10000); }},
      {"section offset beyond the file",
       [](const ElfShape& s, File& f) { s.PutWord(f, s.section(2) + s.shOffsetField(), 0x10000); }},
      {"section offset wrapping 32 bits",  // ELF32 cannot say it; ELF64 must not wrap it
       [](const ElfShape& s, File& f) {
         s.PutWord(f, s.section(2) + s.shOffsetField(), s.is64 ? 0x100000180ull : 0xFFFFFFF0u);
       }},
      {"program header table beyond the file",
       [](const ElfShape& s, File& f) { s.PutWord(f, s.phoffField(), 0x10000); }},
      {"huge program header count",
       [](const ElfShape& s, File& f) { s.Put(f, s.phnumField(), 2, 0xFFFE); }},
      {"segment beyond the file",
       [](const ElfShape& s, File& f) {
         s.PutWord(f, s.ehdrSize() + s.pFileszField(), 0x10000);
       }},
      {"extended section count beyond the file",
       [](const ElfShape& s, File& f) {
         s.Put(f, s.shnumField(), 2, 0);
         s.PutWord(f, s.section(0) + s.shSizeField(), 0x1000);
       }},
  };
  for (const ElfShape& shape : kElfShapes) {
    for (const auto& [what, lie] : cases) {
      File elf = shape.Make();
      Append(elf, 200);
      lie(shape, elf);
      EXPECT_FALSE(LocatePackageElf(elf.data(), elf.size()).found) << shape.Name() << ": " << what;
    }
  }
  EXPECT_FALSE(LocatePackageElf(nullptr, 0).found);
}

// The running test program is a real ELF file on Linux; under Wine it is not, and the test
// is skipped.
TEST(LocatePackageElf, FindsBytesAppendedToARealProgram) {
  std::ifstream in("/proc/self/exe", std::ios::binary);
  std::ostringstream whole;  // copied in blocks: a sanitizer build is tens of megabytes
  whole << in.rdbuf();
  const std::string bytes = whole.str();
  File exe(bytes.begin(), bytes.end());
  if (exe.size() < 4 || exe[0] != 0x7F || exe[1] != 'E' || exe[2] != 'L' || exe[3] != 'F') {
    GTEST_SKIP() << "not running from an ELF file";
  }
  EXPECT_FALSE(LocatePackageElf(exe.data(), exe.size()).found);
  const size_t imageEnd = exe.size();
  Append(exe, 4096);
  const PackageLocation where = LocatePackageElf(exe.data(), exe.size());
  EXPECT_TRUE(where.found);
  EXPECT_EQ(where.offset, imageEnd);
  EXPECT_EQ(where.length, 4096u);
  // A program cut short is not an image with a package.
  EXPECT_FALSE(Locate(&LocatePackageElf, exe, imageEnd - 1).found);
  EXPECT_FALSE(Locate(&LocatePackageElf, exe, imageEnd / 2).found);
}

}  // namespace
}  // namespace mc
