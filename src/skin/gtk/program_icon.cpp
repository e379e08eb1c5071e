#include "skin/gtk/program_icon.h"

#include <cstring>

namespace mc::gtk {

// Generated from res/microclient.ico by the build.
extern const unsigned char kProgramIconIco[];
extern const size_t kProgramIconIcoSize;

namespace {

constexpr size_t kIconDirBytes = 6;
constexpr size_t kIconEntryBytes = 16;
constexpr size_t kBitmapInfoBytes = 40;
constexpr int kMaxIconSide = 1024;

uint32_t Le16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

GObjectPtr<GdkPixbuf> DecodePng(const uint8_t* data, size_t size) {
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
  if (!loader) return {};
  GObjectPtr<GdkPixbuf> pixbuf;
  if (gdk_pixbuf_loader_write(loader, data, size, nullptr) &&
      gdk_pixbuf_loader_close(loader, nullptr)) {
    if (GdkPixbuf* decoded = gdk_pixbuf_loader_get_pixbuf(loader))
      pixbuf = GObjectPtr<GdkPixbuf>::Ref(decoded);
  } else {
    gdk_pixbuf_loader_close(loader, nullptr);
  }
  g_object_unref(loader);
  return pixbuf;
}

// A 32-bit BI_RGB DIB as icons store it: the header's height counts the colour rows and the
// AND mask together; colour rows are bottom-up BGRA.
GObjectPtr<GdkPixbuf> DecodeDib(const uint8_t* data, size_t size) {
  if (size < kBitmapInfoBytes || Le32(data) < kBitmapInfoBytes) return {};
  const int32_t width = static_cast<int32_t>(Le32(data + 4));
  const int32_t height = static_cast<int32_t>(Le32(data + 8)) / 2;
  if (Le16(data + 14) != 32 || Le32(data + 16) != 0) return {};
  if (width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide) return {};
  const size_t stride = static_cast<size_t>(width) * 4;
  const size_t offset = Le32(data);
  if (offset > size || (size - offset) / stride < static_cast<size_t>(height)) return {};
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height);
  if (!pixbuf) return {};
  guchar* out = gdk_pixbuf_get_pixels(pixbuf);
  const int outStride = gdk_pixbuf_get_rowstride(pixbuf);
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = data + offset + static_cast<size_t>(height - 1 - y) * stride;
    guchar* row = out + static_cast<ptrdiff_t>(y) * outStride;
    for (int x = 0; x < width; ++x, in += 4, row += 4) {
      row[0] = in[2];
      row[1] = in[1];
      row[2] = in[0];
      row[3] = in[3];
    }
  }
  return GObjectPtr<GdkPixbuf>::Adopt(pixbuf);
}

}  // namespace

GObjectPtr<GdkPixbuf> DecodeIco(const uint8_t* data, size_t size) {
  if (!data || size < kIconDirBytes || Le16(data) != 0 || Le16(data + 2) != 1) return {};
  const size_t count = Le16(data + 4);
  if ((size - kIconDirBytes) / kIconEntryBytes < count) return {};
  // The entry with the most pixels; a width or height byte of 0 means 256.
  const uint8_t* best = nullptr;
  uint32_t bestArea = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = data + kIconDirBytes + i * kIconEntryBytes;
    const uint32_t area = (entry[0] ? entry[0] : 256u) * (entry[1] ? entry[1] : 256u);
    if (area > bestArea) {
      best = entry;
      bestArea = area;
    }
  }
  if (!best) return {};
  const size_t bytes = Le32(best + 8), offset = Le32(best + 12);
  if (offset > size || bytes > size - offset) return {};
  static constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes >= sizeof kPngSignature &&
      std::memcmp(data + offset, kPngSignature, sizeof kPngSignature) == 0)
    return DecodePng(data + offset, bytes);
  return DecodeDib(data + offset, bytes);
}

GObjectPtr<GdkPixbuf> ProgramIcon() { return DecodeIco(kProgramIconIco, kProgramIconIcoSize); }

}  // namespace mc::gtk
