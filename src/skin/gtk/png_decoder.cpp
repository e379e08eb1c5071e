#include "skin/gtk/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace mc::gtk {
namespace {

struct Source {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
};

void ReadBytes(png_structp png, png_bytep out, size_t n) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png));
  if (n > source->size - source->pos) png_error(png, "truncated");
  std::memcpy(out, source->data + source->pos, n);
  source->pos += n;
}

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

// Everything a decode touches. libpng reports errors by jumping back into Run, so all state
// lives here, reached through a pointer, and Run itself holds no object with a destructor.
struct Decode {
  png_structp png = nullptr;
  png_infop info = nullptr;
  Source source;
  uint32_t format = 0;
  png_uint_32 width = 0, height = 0;
  size_t rowBytes = 0;
  std::vector<uint8_t> pixels;  // top-down rows, rowBytes each
  std::vector<png_bytep> rowPointers;
  std::vector<uint32_t> palette;  // ARGB

  ~Decode() {
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  }
};

bool Run(Decode* d) {
  if (setjmp(png_jmpbuf(d->png))) return false;
  png_set_read_fn(d->png, &d->source, ReadBytes);
  png_set_user_limits(d->png, kMaxSkinSide, kMaxSkinSide);
  // Only the picture, its palette and its transparency are used. Every other chunk is skipped
  // unread: libpng reads text and palette-suggestion chunks whole into memory, and a few
  // bytes of header claiming gigabytes would have it allocate them.
  png_set_keep_unknown_chunks(d->png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(d->png, d->info);
  int depth = 0, type = 0;
  png_get_IHDR(d->png, d->info, &d->width, &d->height, &depth, &type, nullptr, nullptr, nullptr);
  if (!SkinSizeAcceptable(static_cast<int>(d->width), static_cast<int>(d->height))) return false;
  const bool transparency = png_get_valid(d->png, d->info, PNG_INFO_tRNS) != 0;

  if (type == PNG_COLOR_TYPE_PALETTE && !transparency && (depth == 1 || depth == 4 || depth == 8)) {
    d->format = depth == 1   ? pixel_format::k1bppIndexed
                : depth == 4 ? pixel_format::k4bppIndexed
                             : pixel_format::k8bppIndexed;
    png_colorp entries = nullptr;
    int count = 0;
    if (!png_get_PLTE(d->png, d->info, &entries, &count) || count < 1) return false;
    d->palette.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
      d->palette[static_cast<size_t>(i)] = 0xFF000000u | (uint32_t{entries[i].red} << 16) |
                                           (uint32_t{entries[i].green} << 8) | entries[i].blue;
  } else if (type == PNG_COLOR_TYPE_RGB && depth == 8 && !transparency) {
    d->format = pixel_format::k24bppRgb;
    png_set_bgr(d->png);
  } else {
    d->format = pixel_format::k32bppArgb;
    png_set_expand(d->png);    // palette to RGB, grey to 8 bits, tRNS to alpha
    png_set_strip_16(d->png);  // the high byte of 16-bit samples
    if (!(type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(d->png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !transparency)
      png_set_filler(d->png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(d->png);
  }
  png_set_interlace_handling(d->png);
  png_read_update_info(d->png, d->info);
  d->rowBytes = png_get_rowbytes(d->png, d->info);
  if (d->rowBytes != RowBytes(static_cast<int>(d->width), BitsPerPixel(d->format))) return false;
  d->pixels.resize(d->rowBytes * d->height);
  d->rowPointers.resize(d->height);
  for (png_uint_32 y = 0; y < d->height; ++y) d->rowPointers[y] = d->pixels.data() + y * d->rowBytes;
  png_read_image(d->png, d->rowPointers.data());
  return true;
}

}  // namespace

bool DecodePngToSkin(const uint8_t* data, size_t size, SkinPixels& out) {
  Decode d;
  d.source = {data, size, 0};
  d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!d.png) return false;
  d.info = png_create_info_struct(d.png);
  if (!d.info || !Run(&d)) return false;
  PixelRows rows;
  rows.width = static_cast<int>(d.width);
  rows.height = static_cast<int>(d.height);
  rows.bitsPerPixel = BitsPerPixel(d.format);
  rows.top = d.pixels.data();
  rows.stride = static_cast<ptrdiff_t>(d.rowBytes);
  return SkinPixelsFromDecoded(rows, d.palette, out);
}

}  // namespace mc::gtk
