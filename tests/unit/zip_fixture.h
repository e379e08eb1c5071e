// Builds ZIP archives byte by byte, so tests can also write what no archiver would: wrong
// CRCs, lying sizes, duplicate or over-long names.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace mc::fixture {

// One entry as it will be written: the payload is stored as is, the other fields are recorded
// in both the local header and the central directory.
struct ZipEntry {
  std::string name;
  uint16_t method = 0;
  uint16_t flags = 0;
  std::vector<uint8_t> payload;
  uint32_t crc = 0;
  uint64_t uncompressedSize = 0;
};

inline uint32_t Crc(const std::vector<uint8_t>& data) {
  return static_cast<uint32_t>(crc32(0L, data.data(), static_cast<uInt>(data.size())));
}

inline ZipEntry Stored(std::string name, std::vector<uint8_t> data) {
  const uint32_t crc = Crc(data);
  const uint64_t size = data.size();
  return {std::move(name), 0, 0, std::move(data), crc, size};
}

// Deflates `size` bytes produced by `chunk` (called repeatedly for the next piece) with the
// strongest setting, so large entries need no buffer of their own.
template <typename NextChunk>
ZipEntry DeflatedStream(std::string name, uint64_t size, NextChunk chunk) {
  ZipEntry entry{std::move(name), Z_DEFLATED, 0, {}, 0, size};
  z_stream z{};
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
  uLong crc = crc32(0L, Z_NULL, 0);
  std::vector<uint8_t> out(1 << 16);
  uint64_t fed = 0;
  int flush = Z_NO_FLUSH;
  do {
    std::vector<uint8_t> in;
    if (fed < size) {
      in = chunk();
      if (in.size() > size - fed) in.resize(static_cast<size_t>(size - fed));
      fed += in.size();
      crc = crc32(crc, in.data(), static_cast<uInt>(in.size()));
    }
    flush = fed == size ? Z_FINISH : Z_NO_FLUSH;
    z.next_in = in.data();
    z.avail_in = static_cast<uInt>(in.size());
    do {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      deflate(&z, flush);
      entry.payload.insert(entry.payload.end(), out.data(), z.next_out);
    } while (z.avail_out == 0);
  } while (flush != Z_FINISH);
  deflateEnd(&z);
  entry.crc = static_cast<uint32_t>(crc);
  return entry;
}

inline ZipEntry Deflated(std::string name, const std::vector<uint8_t>& data) {
  return DeflatedStream(std::move(name), data.size(), [&data] { return data; });
}

// `size` zero bytes deflated: the most compressible content there is.
inline ZipEntry DeflatedZeros(std::string name, uint64_t size) {
  return DeflatedStream(std::move(name), size, [] { return std::vector<uint8_t>(1 << 20); });
}

inline std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

// Writes the entries, their central directory and the end record, in this order.
inline std::vector<uint8_t> BuildZip(const std::vector<ZipEntry>& entries) {
  std::vector<uint8_t> zip;
  auto put = [&zip](uint64_t value, int width) {
    for (int i = 0; i < width; ++i) zip.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  auto header = [&](const ZipEntry& e) {
    put(20, 2);  // version needed
    put(e.flags, 2);
    put(e.method, 2);
    put(0, 2);       // time
    put(0x21, 2);    // date: 1980-01-01
    put(e.crc, 4);
    put(e.payload.size(), 4);
    put(e.uncompressedSize, 4);
    put(e.name.size(), 2);
    put(0, 2);  // extra field length
  };
  std::vector<uint64_t> offsets;
  for (const ZipEntry& e : entries) {
    offsets.push_back(zip.size());
    put(0x04034b50, 4);
    header(e);
    zip.insert(zip.end(), e.name.begin(), e.name.end());
    zip.insert(zip.end(), e.payload.begin(), e.payload.end());
  }
  const uint64_t directory = zip.size();
  for (size_t i = 0; i < entries.size(); ++i) {
    put(0x02014b50, 4);
    put(20, 2);  // version made by
    header(entries[i]);
    put(0, 2);  // comment length
    put(0, 2);  // disk
    put(0, 2);  // internal attributes
    put(0, 4);  // external attributes
    put(offsets[i], 4);
    zip.insert(zip.end(), entries[i].name.begin(), entries[i].name.end());
  }
  const uint64_t directorySize = zip.size() - directory;
  put(0x06054b50, 4);
  put(0, 2);
  put(0, 2);
  put(entries.size(), 2);
  put(entries.size(), 2);
  put(directorySize, 4);
  put(directory, 4);
  put(0, 2);  // comment length
  return zip;
}

}  // namespace mc::fixture
