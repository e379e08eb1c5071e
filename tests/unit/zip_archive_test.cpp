#include "package/zip_archive.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "zip_fixture.h"

namespace mc {
namespace {

using fixture::Bytes;
using fixture::BuildZip;
using fixture::Deflated;
using fixture::DeflatedZeros;
using fixture::Stored;
using fixture::ZipEntry;

// Text-like bytes that deflate to a fraction of their size but not to nothing.
std::vector<uint8_t> Text(size_t size, uint32_t seed) {
  std::vector<uint8_t> text(size);
  uint32_t x = seed;
  for (uint8_t& c : text) {
    x = x * 1103515245u + 12345u;
    c = static_cast<uint8_t>("abcdefgh =\n"[(x >> 16) % 11]);
  }
  return text;
}

std::unique_ptr<ZipArchive> OpenBytes(const std::vector<uint8_t>& bytes) {
  return ZipArchive::Open(bytes.data(), bytes.size());
}

TEST(ZipArchive, ReadsStoredAndDeflatedEntries) {
  struct Case {
    std::string name;
    std::vector<uint8_t> data;
    bool deflate;
  };
  const std::vector<Case> cases = {
      {"config/cg.txt", Bytes("[main]\r\ntitle=x\r\n"), false},
      {"config/main1.png", Text(3 << 20, 1), true},  // spans several read chunks
      {"config/1_n.png", Text(70000, 2), false},
      {"config/empty.txt", {}, false},
      {"config/empty.bin", {}, true},
  };
  std::vector<ZipEntry> entries;
  std::vector<std::string> names;
  for (const Case& c : cases) {
    entries.push_back(c.deflate ? Deflated(c.name, c.data) : Stored(c.name, c.data));
    names.push_back(c.name);
  }
  const std::vector<uint8_t> zip = BuildZip(entries);
  std::unique_ptr<ZipArchive> archive = OpenBytes(zip);
  ASSERT_TRUE(archive);
  EXPECT_EQ(archive->EntryNames(), names);
  // Read in reverse order too: each read must find its entry wherever the last one left off.
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < cases.size(); ++i) {
      const Case& c = cases[pass == 0 ? i : cases.size() - 1 - i];
      SCOPED_TRACE(c.name);
      std::vector<uint8_t> out = {1, 2, 3};
      ASSERT_TRUE(archive->Read(c.name, out));
      EXPECT_EQ(out, c.data);
    }
  }
}

TEST(ZipArchive, FindsOnlyTheExactNameAndTheFirstOfDuplicates) {
  const std::string name255 = "config/" + std::string(248, 'a');
  const std::string name256 = name255 + "b";
  const std::string name300 = name255 + std::string(45, 'c');
  const std::string nameWithNul("config/x.txt\0y", 14);
  // The longer and NUL-carrying names come first, so a lookup that cuts or C-compares
  // stored names would hit them before the exact entries.
  const std::vector<ZipEntry> entries = {
      Stored(name300, Bytes("300")),
      Stored(nameWithNul, Bytes("nul")),
      Stored("config/cg.txt", Bytes("first")),
      Deflated("config/cg.txt", Bytes("second")),
      Stored(name255, Bytes("255")),
      Stored(name256, Bytes("256")),
  };
  const std::vector<uint8_t> zip = BuildZip(entries);
  std::unique_ptr<ZipArchive> archive = OpenBytes(zip);
  ASSERT_TRUE(archive);

  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
      {"config/cg.txt", "first"},
      {"Config/cg.txt", std::nullopt},
      {"config/CG.TXT", std::nullopt},
      {"config\\cg.txt", std::nullopt},
      {"config/cg.tx", std::nullopt},
      {"config/cg.txt ", std::nullopt},
      {"/config/cg.txt", std::nullopt},
      {std::string("config/cg.txt\0z", 15), std::nullopt},
      {"config/x.txt", std::nullopt},
      {"", std::nullopt},
      {name255, "255"},
      {name256, std::nullopt},
      {name300, std::nullopt},
  };
  for (const auto& [query, expected] : cases) {
    SCOPED_TRACE(query.substr(0, 20) + "... length " + std::to_string(query.size()));
    std::vector<uint8_t> out = {9};
    EXPECT_EQ(archive->Read(query, out), expected.has_value());
    EXPECT_EQ(out, Bytes(expected.value_or("")));
  }

  std::vector<std::string> names;
  for (const ZipEntry& e : entries) names.push_back(e.name);
  EXPECT_EQ(archive->EntryNames(), names);
}

TEST(ZipArchive, RefusesEntriesThatDoNotInflateCompletely) {
  const std::vector<uint8_t> data = Text(50000, 3);
  struct Case {
    const char* what;
    bool deflate;
    std::function<void(ZipEntry&)> damage;
  };
  const std::vector<Case> cases = {
      {"wrong CRC of stored bytes", false, [](ZipEntry& e) { e.crc ^= 1; }},
      {"wrong CRC of deflated bytes", true, [](ZipEntry& e) { e.crc ^= 0x80000000u; }},
      {"invalid deflate block", true, [](ZipEntry& e) { e.payload[0] = 0x07; }},
      {"deflate stream cut short", true,
       [](ZipEntry& e) { e.payload.resize(e.payload.size() / 2); }},
      {"recorded size beyond the inflated bytes", true, [](ZipEntry& e) { ++e.uncompressedSize; }},
      {"recorded size short of the inflated bytes", true,
       [](ZipEntry& e) { --e.uncompressedSize; }},
      {"unsupported method", false, [](ZipEntry& e) { e.method = 12; }},
      {"encrypted", false, [](ZipEntry& e) { e.flags |= 1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ZipEntry bad = c.deflate ? Deflated("bad", data) : Stored("bad", data);
    c.damage(bad);
    const std::vector<uint8_t> zip = BuildZip({bad, Deflated("good", data)});
    std::unique_ptr<ZipArchive> archive = OpenBytes(zip);
    ASSERT_TRUE(archive);
    std::vector<uint8_t> out = {1};
    EXPECT_FALSE(archive->Read("bad", out));
    EXPECT_TRUE(out.empty());
    // A failed read leaves the archive usable.
    EXPECT_TRUE(archive->Read("good", out));
    EXPECT_EQ(out, data);
  }
}

TEST(ZipArchive, RefusesEntriesOfImplausibleSize) {
  ZipEntry storedTail = Stored("e", Bytes("abcdefgh"));
  storedTail.uncompressedSize = 3;
  storedTail.crc = fixture::Crc(Bytes("abc"));
  ZipEntry ratio = Deflated("e", Text(4096, 4));
  ratio.uncompressedSize = ratio.payload.size() * ZipArchive::kMaxDeflateRatio + 1;

  struct Case {
    const char* what;
    ZipEntry entry;
    bool readable;
  };
  const std::vector<Case> cases = {
      // Zeros deflate close to the format's best ratio: the ratio bound must let them through.
      {"zeros up to the size cap", DeflatedZeros("e", ZipArchive::kMaxEntrySize), true},
      {"zeros past the size cap", DeflatedZeros("e", ZipArchive::kMaxEntrySize + 1), false},
      {"stored bytes longer than the recorded size", storedTail, false},
      {"deflated size beyond the deflate ratio", ratio, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> zip = BuildZip({c.entry});
    std::unique_ptr<ZipArchive> archive = OpenBytes(zip);
    ASSERT_TRUE(archive);
    std::vector<uint8_t> out;
    EXPECT_EQ(archive->Read("e", out), c.readable);
    EXPECT_EQ(out.size(), c.readable ? c.entry.uncompressedSize : 0u);
  }
}

TEST(ZipArchive, OpensWithTrailingBytesWhileTheEndRecordIsInTheLast65535Bytes) {
  const std::vector<uint8_t> text = Bytes("[main]\r\n");
  const std::vector<uint8_t> zip = BuildZip({Stored("config/cg.txt", text)});
  constexpr size_t kEndRecord = 22;  // without a comment
  const std::vector<std::pair<size_t, bool>> cases = {
      {0, true}, {4096, true}, {65535 - kEndRecord, true}, {65536 - kEndRecord, false}};
  for (const auto& [trailing, opens] : cases) {
    SCOPED_TRACE(trailing);
    std::vector<uint8_t> file = zip;
    const std::vector<uint8_t> certificate = Text(trailing, 5);
    file.insert(file.end(), certificate.begin(), certificate.end());
    std::unique_ptr<ZipArchive> archive = OpenBytes(file);
    ASSERT_EQ(archive != nullptr, opens);
    std::vector<uint8_t> out;
    if (opens) {
      EXPECT_TRUE(archive->Read("config/cg.txt", out));
      EXPECT_EQ(out, text);
    }
  }
}

TEST(ZipArchive, DoesNotOpenWhatIsNotAnArchive) {
  const std::vector<uint8_t> zip = BuildZip({Stored("config/cg.txt", Bytes("x"))});
  // An end record placing a one-entry directory at offset 256, beyond the 100 bytes before it.
  std::vector<uint8_t> lyingEnd(100, 0);
  const std::vector<uint8_t> end = {
      0x50, 0x4b, 0x05, 0x06,  // signature
      0, 0, 0, 0,              // disk numbers
      1, 0, 1, 0,              // entries
      46, 0, 0, 0,             // directory size
      0, 1, 0, 0,              // directory offset
      0, 0};                   // comment length
  lyingEnd.insert(lyingEnd.end(), end.begin(), end.end());
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"no bytes", {}},
      {"certificate table only", Text(9000, 6)},
      {"archive cut inside its end record", {zip.begin(), zip.end() - 1}},
      {"directory beyond the bytes", lyingEnd},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    EXPECT_EQ(OpenBytes(bytes), nullptr);
  }
  EXPECT_EQ(ZipArchive::Open(nullptr, 0), nullptr);
}

}  // namespace
}  // namespace mc
