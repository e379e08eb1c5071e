// Windows package benchmark (run under Wine): times the read path on a branded file with the
// port's own mapping and GDI+ decoder, and reports how much one cold pass raises the peak
// working set. usage: package_bench_win32.exe BRANDED FLOOR-LIST [ITERATIONS]
#include <winsock2.h>
#include <windows.h>
#include <gdiplus.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "bench/package/bench_pipeline.h"
#include "platform/win32/scoped_handles.h"

namespace {

SIZE_T PeakWorkingSetKb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize / 1024;
}

bool DecodeWithGdiplus(const std::vector<uint8_t>& png) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, png.size());
  if (!block) return false;
  memcpy(GlobalLock(block), png.data(), png.size());
  GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return false;
  }
  Gdiplus::Image image(stream);
  stream->Release();
  // Force the decode: GDI+ may defer it until the pixels are needed.
  Gdiplus::Bitmap target(static_cast<INT>(image.GetWidth()), static_cast<INT>(image.GetHeight()),
                         PixelFormat32bppPARGB);
  Gdiplus::Graphics graphics(&target);
  return graphics.DrawImage(&image, 0, 0) == Gdiplus::Ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s BRANDED FLOOR-LIST [ITERATIONS]\n", argv[0]);
    return 2;
  }
  const int iterations = argc > 3 ? std::atoi(argv[3]) : 30;
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  int rc = 1;
  {
    mc::win32::ScopedHandle file(CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD size = GetFileSize(file.get(), nullptr);
    mc::win32::ScopedHandle mapping(
        CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    mc::win32::ScopedMapView view(
        mapping.valid() ? MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0) : nullptr);
    if (view.get()) {
      const auto* data = static_cast<const uint8_t*>(view.get());
      const SIZE_T before = PeakWorkingSetKb();
      mc::bench::ReadPath(data, size, true, DecodeWithGdiplus);
      std::printf("windows: program file %lu KiB; one pass raises the peak working set by %lu KiB\n",
                  static_cast<unsigned long>(size / 1024),
                  static_cast<unsigned long>(PeakWorkingSetKb() - before));
      rc = mc::bench::Run("windows", data, size, true, argv[2], iterations, DecodeWithGdiplus,
                          [](const std::vector<uint8_t>&) { return true; });
    }
  }
  Gdiplus::GdiplusShutdown(token);
  return rc;
}
