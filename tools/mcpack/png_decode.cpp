#include <png.h>

#include "mcpack.h"

namespace mcpack {

namespace {

// Larger pictures are refused rather than decoded into gigabytes: a skin picture of this size
// would be a mistake anyway.
constexpr png_uint_32 kMaxPixels = 1u << 26;

}  // namespace

bool DecodePng(const std::vector<uint8_t>& png, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
    png_image_free(&image);
    return false;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxPixels / image.height) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return true;
}

}  // namespace mcpack
