// Skin bitmaps in device-independent-bitmap layout, and the rules that turn a decoded picture
// into one. Both ports decode package PNGs with their own decoder (GDI+ on Windows, libpng on
// Linux) and hand the decoded rows to these functions, so the bytes of a skin bitmap are the
// same on both: the decoded format is kept when GDI can show it, pictures with alpha become
// straight (never premultiplied) 32-bit BGRA, the rest 32-bit RGB; rows are stored bottom-up,
// each padded to a whole 32-bit word; indexed pictures carry their palette as colour table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace mc {

// Pixel format codes as the image decoder reports them; bits 8 to 15 hold the bits per pixel.
namespace pixel_format {
inline constexpr uint32_t kIndexed = 0x10000;
inline constexpr uint32_t kGdi = 0x20000;
inline constexpr uint32_t kAlpha = 0x40000;
inline constexpr uint32_t k1bppIndexed = 0x30101;
inline constexpr uint32_t k4bppIndexed = 0x30402;
inline constexpr uint32_t k8bppIndexed = 0x30803;
inline constexpr uint32_t k24bppRgb = 0x21808;
inline constexpr uint32_t k32bppRgb = 0x22009;
inline constexpr uint32_t k32bppArgb = 0x26200A;
}  // namespace pixel_format

constexpr int BitsPerPixel(uint32_t format) { return static_cast<int>((format >> 8) & 0xFF); }

// The format a skin bitmap takes for a decoded format.
uint32_t SkinFormatFor(uint32_t decodedFormat);

// Pictures larger than this on a side, or with more pixels in all, are refused as
// undecodable: a PNG header of a few bytes can claim gigabytes.
inline constexpr int kMaxSkinSide = 32767;
inline constexpr int64_t kMaxSkinPixels = int64_t{1} << 25;
bool SkinSizeAcceptable(int width, int height);

// Bytes of pixel data in one row, and the padded distance between stored rows.
size_t RowBytes(int width, int bitsPerPixel);
size_t DibStride(int width, int bitsPerPixel);

// Rows of a picture, top row first; stride is negative for bottom-up storage.
struct PixelRows {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  const uint8_t* top = nullptr;
  ptrdiff_t stride = 0;
  const uint8_t* Row(int y) const { return top + static_cast<ptrdiff_t>(y) * stride; }
};

// Colour table entries are RGBQUADs read as little-endian words: 0x00RRGGBB.
using ColorTable = std::vector<uint32_t>;

// An owned skin bitmap: bottom-up rows of DibStride bytes, zero-filled on creation, and the
// colour table of an indexed format (2^bits entries, unused ones 0).
class SkinPixels {
 public:
  // False, leaving the object empty, for a size that is not acceptable or a depth other than
  // 1, 4, 8, 24 or 32.
  bool Create(int width, int height, int bitsPerPixel);

  int width() const { return width_; }
  int height() const { return height_; }
  int bitsPerPixel() const { return bitsPerPixel_; }
  size_t stride() const { return stride_; }
  // Row y counted from the top.
  uint8_t* Row(int y) { return bits_.data() + (height_ - 1 - y) * stride_; }
  const uint8_t* Row(int y) const { return bits_.data() + (height_ - 1 - y) * stride_; }
  std::vector<uint8_t>& bits() { return bits_; }
  const std::vector<uint8_t>& bits() const { return bits_; }
  ColorTable& colorTable() { return colorTable_; }
  const ColorTable& colorTable() const { return colorTable_; }
  PixelRows rows() const;

 private:
  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
  size_t stride_ = 0;
  std::vector<uint8_t> bits_;
  ColorTable colorTable_;
};

// Colour table from ARGB palette entries: red, green and blue kept, the reserved byte 0.
// False when the palette does not hold 1 to 256 entries.
bool ColorTableFromPalette(std::span<const uint32_t> argbPalette, ColorTable& table);

// Copies the rows of a picture into bottom-up DIB rows of the same format, RowBytes a row;
// unused bits after the last pixel of a row are cleared, the padding bytes left as they are.
void CopyRowsBottomUp(const PixelRows& from, uint8_t* dibBits, size_t dibStride);

// The skin bitmap of a decoded picture whose format is kept (SkinFormatFor(format) ==
// format). False when the size or depth is not acceptable or an indexed palette is not 1 to
// 256 entries long.
bool SkinPixelsFromDecoded(const PixelRows& decoded, std::span<const uint32_t> argbPalette,
                           SkinPixels& out);

// A new bitmap of width x height holding the source rectangle at (x, y), in the source's
// depth with its colour table. Parts of the rectangle outside the source stay 0. False for an
// empty or unacceptable size.
bool CutPixels(const SkinPixels& source, int x, int y, int width, int height, SkinPixels& piece);

// Colour of a pixel as 0x00BBGGRR (red in the low byte), alpha ignored; an indexed pixel
// takes its table entry (0 beyond the table).
uint32_t PixelColorRef(const PixelRows& rows, std::span<const uint32_t> colorTable, int x, int y);

// The picture as opaque 0x00RRGGBB words, top row first, `outStride` words apart: how a skin
// bitmap reaches the screen, by plain copies that never blend with its alpha byte.
void ToXrgb(const PixelRows& rows, std::span<const uint32_t> colorTable, uint32_t* out,
            size_t outStride);

}  // namespace mc
