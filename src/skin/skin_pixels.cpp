#include "skin/skin_pixels.h"

#include <algorithm>
#include <cstring>

namespace mc {
namespace {

bool DepthSupported(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: return true;
    default: return false;
  }
}

// Index of pixel x in a row of an indexed format (1, 4 or 8 bits, most significant bits first).
unsigned IndexAt(const uint8_t* row, int x, int bitsPerPixel) {
  const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bitsPerPixel);
  const unsigned byte = row[bit / 8];
  const unsigned shift = 8 - static_cast<unsigned>(bitsPerPixel) - bit % 8;
  return (byte >> shift) & ((1u << bitsPerPixel) - 1);
}

void SetIndexAt(uint8_t* row, int x, int bitsPerPixel, unsigned index) {
  const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bitsPerPixel);
  const unsigned shift = 8 - static_cast<unsigned>(bitsPerPixel) - bit % 8;
  const unsigned mask = ((1u << bitsPerPixel) - 1) << shift;
  row[bit / 8] = static_cast<uint8_t>((row[bit / 8] & ~mask) | ((index << shift) & mask));
}

// The pixel as 0x00RRGGBB.
uint32_t RgbAt(const PixelRows& rows, std::span<const uint32_t> table, int x, int y) {
  const uint8_t* row = rows.Row(y);
  switch (rows.bitsPerPixel) {
    case 1: case 4: case 8: {
      const unsigned index = IndexAt(row, x, rows.bitsPerPixel);
      return index < table.size() ? table[index] & 0xFFFFFFu : 0;
    }
    case 16: {  // BI_RGB 16-bit pixels are 5-5-5
      const unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
      return (((v >> 10) & 31u) << 19) | (((v >> 5) & 31u) << 11) | ((v & 31u) << 3);
    }
    case 24: {
      const uint8_t* p = row + x * 3;
      return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    }
    case 32: {
      const uint8_t* p = row + x * 4;
      return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    }
    default:
      return 0;
  }
}

}  // namespace

uint32_t SkinFormatFor(uint32_t decodedFormat) {
  if (decodedFormat & pixel_format::kAlpha) return pixel_format::k32bppArgb;
  if (decodedFormat & pixel_format::kGdi) return decodedFormat;
  return pixel_format::k32bppRgb;
}

bool SkinSizeAcceptable(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxSkinSide && height <= kMaxSkinSide &&
         int64_t{width} * height <= kMaxSkinPixels;
}

size_t RowBytes(int width, int bitsPerPixel) {
  return (static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) + 7) / 8;
}

size_t DibStride(int width, int bitsPerPixel) {
  return (static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) + 31) / 32 * 4;
}

bool SkinPixels::Create(int width, int height, int bitsPerPixel) {
  *this = SkinPixels();
  if (!SkinSizeAcceptable(width, height) || !DepthSupported(bitsPerPixel)) return false;
  width_ = width;
  height_ = height;
  bitsPerPixel_ = bitsPerPixel;
  stride_ = DibStride(width, bitsPerPixel);
  bits_.assign(stride_ * static_cast<size_t>(height), 0);
  if (bitsPerPixel <= 8) colorTable_.assign(size_t{1} << bitsPerPixel, 0);
  return true;
}

PixelRows SkinPixels::rows() const {
  PixelRows r;
  r.width = width_;
  r.height = height_;
  r.bitsPerPixel = bitsPerPixel_;
  if (height_ > 0) {
    r.top = bits_.data() + (height_ - 1) * stride_;
    r.stride = -static_cast<ptrdiff_t>(stride_);
  }
  return r;
}

bool ColorTableFromPalette(std::span<const uint32_t> argbPalette, ColorTable& table) {
  if (argbPalette.empty() || argbPalette.size() > 256) return false;
  table.clear();
  for (uint32_t argb : argbPalette) table.push_back(argb & 0x00FFFFFFu);
  return true;
}

void CopyRowsBottomUp(const PixelRows& from, uint8_t* dibBits, size_t dibStride) {
  const size_t rowBytes = RowBytes(from.width, from.bitsPerPixel);
  // Bits of the last byte beyond the last pixel are not part of the picture (decoders leave
  // anything there); they are cleared so that equal pictures give equal bytes.
  const unsigned usedBits =
      static_cast<unsigned>((static_cast<size_t>(from.width) * from.bitsPerPixel) % 8);
  const uint8_t lastByteMask = usedBits ? static_cast<uint8_t>(0xFF00u >> usedBits) : 0xFF;
  for (int y = 0; y < from.height; ++y) {
    uint8_t* to = dibBits + static_cast<size_t>(from.height - 1 - y) * dibStride;
    std::memcpy(to, from.Row(y), rowBytes);
    if (rowBytes) to[rowBytes - 1] &= lastByteMask;
  }
}

bool SkinPixelsFromDecoded(const PixelRows& decoded, std::span<const uint32_t> argbPalette,
                           SkinPixels& out) {
  if (!out.Create(decoded.width, decoded.height, decoded.bitsPerPixel)) return false;
  if (decoded.bitsPerPixel <= 8) {
    ColorTable palette;
    if (!ColorTableFromPalette(argbPalette, palette)) {
      out = SkinPixels();
      return false;
    }
    // A palette longer than the table fills the table; a shorter one leaves the rest 0.
    const size_t n = std::min(palette.size(), out.colorTable().size());
    std::copy_n(palette.begin(), n, out.colorTable().begin());
  }
  CopyRowsBottomUp(decoded, out.bits().data(), out.stride());
  return true;
}

bool CutPixels(const SkinPixels& source, int x, int y, int width, int height, SkinPixels& piece) {
  if (!piece.Create(width, height, source.bitsPerPixel())) return false;
  piece.colorTable() = source.colorTable();
  // Columns of the piece that lie inside the source.
  const int64_t firstX = std::max<int64_t>(0, -int64_t{x});
  const int64_t endX = std::min<int64_t>(width, int64_t{source.width()} - x);
  if (firstX >= endX) return true;
  const int bpp = source.bitsPerPixel();
  for (int row = 0; row < height; ++row) {
    const int64_t sy = int64_t{y} + row;
    if (sy < 0 || sy >= source.height()) continue;
    const uint8_t* from = source.Row(static_cast<int>(sy));
    uint8_t* to = piece.Row(row);
    if (bpp >= 8) {
      const size_t bytes = static_cast<size_t>(bpp / 8);
      std::memcpy(to + firstX * bytes, from + (firstX + x) * bytes,
                  static_cast<size_t>(endX - firstX) * bytes);
    } else {
      for (int64_t px = firstX; px < endX; ++px)
        SetIndexAt(to, static_cast<int>(px), bpp, IndexAt(from, static_cast<int>(px + x), bpp));
    }
  }
  return true;
}

uint32_t PixelColorRef(const PixelRows& rows, std::span<const uint32_t> colorTable, int x, int y) {
  const uint32_t rgb = RgbAt(rows, colorTable, x, y);
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

void ToXrgb(const PixelRows& rows, std::span<const uint32_t> colorTable, uint32_t* out,
            size_t outStride) {
  for (int y = 0; y < rows.height; ++y) {
    uint32_t* line = out + static_cast<size_t>(y) * outStride;
    for (int x = 0; x < rows.width; ++x) line[x] = RgbAt(rows, colorTable, x, y);
  }
}

}  // namespace mc
