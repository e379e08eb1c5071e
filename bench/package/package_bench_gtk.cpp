// Linux package benchmark: times the read path on a branded file and reports how much memory
// one cold pass adds (peak RSS and mapped-file pages, from /proc/self/status).
// usage: package_bench_gtk BRANDED FLOOR-LIST [ITERATIONS]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/package/bench_pipeline.h"
#include "package/gtk/mapped_file.h"
#include "skin/gtk/background_image.h"

namespace {

long StatusKb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string key;
  long value = 0;
  while (in >> key) {
    if (key == field) {
      in >> value;
      return value;
    }
    in.ignore(4096, '\n');
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s BRANDED FLOOR-LIST [ITERATIONS]\n", argv[0]);
    return 2;
  }
  const int iterations = argc > 3 ? std::atoi(argv[3]) : 30;
  mc::MapError error;
  auto file = mc::gtk::MapFile(argv[1], error);
  if (!file) return 1;
  auto decode = [](const std::vector<uint8_t>& png) {
    return mc::gtk::DecodeBackgroundPng(png)->surface() != nullptr;
  };
  auto noDecode = [](const std::vector<uint8_t>&) { return true; };

  // Memory of one cold pass, before the timing loop touches everything again.
  const long peakBefore = StatusKb("VmHWM:"), fileBefore = StatusKb("RssFile:");
  std::unique_ptr<mc::gtk::CairoBackground> kept;
  mc::bench::ReadPath(file->data(), file->size(), false, [&](const std::vector<uint8_t>& png) {
    kept = mc::gtk::DecodeBackgroundPng(png);
    return true;
  });
  std::printf("linux: program file %zu KiB; one pass raises peak RSS by %ld KiB, of which %ld KiB "
              "are pages of the mapped file\n",
              file->size() / 1024, StatusKb("VmHWM:") - peakBefore,
              StatusKb("RssFile:") - fileBefore);
  kept.reset();
  return mc::bench::Run("linux", file->data(), file->size(), false, argv[2], iterations, decode,
                        noDecode);
}
