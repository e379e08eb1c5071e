// The start-up read path measured by the package benchmarks: locate the package in the mapped
// program file, open it, load and parse config/cg.txt, inflate config/main1.png; decoding the
// picture is the port's part and is passed in. The floor is zlib alone inflating the raw
// deflate streams of the same entries (prepared by make_bench_client.py).
#pragma once

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "package/config_record.h"
#include "package/image_end.h"
#include "package/ini_document.h"
#include "package/zip_archive.h"

namespace mc::bench {

template <class F>
double TimeMs(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One pass of the client's read path over a mapped program file. Returns false on any failure.
inline bool ReadPath(const uint8_t* file, size_t size, bool pe,
                     const std::function<bool(const std::vector<uint8_t>&)>& decode) {
  const PackageLocation where = pe ? LocatePackagePe(file, size) : LocatePackageElf(file, size);
  if (!where.found) return false;
  auto zip = ZipArchive::Open(file + where.offset, where.length);
  if (!zip) return false;
  std::vector<uint8_t> text, png;
  if (!zip->Read("config/cg.txt", text)) return false;
  IniDocument ini;
  if (!ini.Load(reinterpret_cast<const char*>(text.data()), text.size())) return false;
  ConfigRecord record;
  if (!ParseConfig(ini, [] { return std::string(); }, record)) return false;
  if (!zip->Read("config/main1.png", png)) return false;
  return decode(png);
}

// zlib alone: inflates each raw deflate stream ("SIZE FILE" lines in the floor list).
inline bool InflateFloor(const std::vector<std::pair<std::vector<uint8_t>, size_t>>& streams) {
  for (const auto& [raw, size] : streams) {
    std::vector<uint8_t> out(size);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    z.next_in = const_cast<Bytef*>(raw.data());
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    if (rc != Z_STREAM_END) return false;
  }
  return true;
}

inline std::vector<std::pair<std::vector<uint8_t>, size_t>> LoadFloor(const std::string& list) {
  std::vector<std::pair<std::vector<uint8_t>, size_t>> streams;
  std::ifstream in(list);
  size_t size = 0;
  std::string path;
  while (in >> size >> path) streams.emplace_back(ReadFile(path), size);
  return streams;
}

// Runs both measurements and prints one line each: median and spread in milliseconds.
inline int Run(const char* port, const uint8_t* file, size_t size, bool pe, const std::string& floor,
               int iterations, const std::function<bool(const std::vector<uint8_t>&)>& decode,
               const std::function<bool(const std::vector<uint8_t>&)>& noDecode) {
  const auto streams = LoadFloor(floor);
  std::vector<double> full, withoutDecode, zlibOnly;
  for (int i = 0; i < iterations; ++i) {
    bool ok = true;
    full.push_back(TimeMs([&] { ok = ReadPath(file, size, pe, decode); }));
    withoutDecode.push_back(TimeMs([&] { ok = ok && ReadPath(file, size, pe, noDecode); }));
    zlibOnly.push_back(TimeMs([&] { ok = ok && InflateFloor(streams); }));
    if (!ok) {
      std::fprintf(stderr, "benchmark input does not read\n");
      return 1;
    }
  }
  std::printf("%s: read path with decode  median %.3f ms\n", port, Median(full));
  std::printf("%s: read path, no decode   median %.3f ms\n", port, Median(withoutDecode));
  std::printf("%s: zlib inflate only      median %.3f ms (floor)\n", port, Median(zlibOnly));
  return 0;
}

}  // namespace mc::bench
