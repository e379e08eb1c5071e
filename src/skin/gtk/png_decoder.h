// PNG decoding for skin bitmaps on Linux. libpng is asked for exactly the pixel formats the
// Windows image decoder reports for the same file, so that the shared layout rules give the
// same bytes on both ports: palette pictures of 1, 4 or 8 bits without transparency stay
// indexed, 8-bit RGB stays 24-bit, everything else becomes straight 32-bit BGRA (16-bit
// samples keep their high byte, transparency chunks become alpha). No gamma is applied.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skin/skin_pixels.h"

namespace mc::gtk {

// False for bytes that are not a complete PNG or a picture of an unacceptable size.
bool DecodePngToSkin(const uint8_t* data, size_t size, SkinPixels& out);

}  // namespace mc::gtk
