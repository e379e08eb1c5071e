// Between GDI bitmaps and the shared pixel rules: a bitmap's pixels as a SkinPixels copy, a DIB
// section made from SkinPixels, and the operations built on them (cutting pieces, shapes
// from masks).
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "skin/skin_pixels.h"

namespace mc::win32 {

// The pixels of a bitmap. A DIB section keeps its depth and colour table; any other bitmap is
// read as 32-bit RGB. False when the handle is not a bitmap.
bool ReadBitmapPixels(HBITMAP bitmap, SkinPixels& out);

// A new bottom-up DIB section (BI_RGB) holding the pixels and colour table; nullptr on failure.
HBITMAP CreateBitmapFromPixels(const SkinPixels& pixels);

// A new bitmap of width x height holding the source rectangle at (x, y): a DIB section of the
// source's depth, alpha bytes included. Parts outside the source are 0; nullptr for an empty
// size or a handle that is not a bitmap. The source is unchanged; the caller owns the piece.
HBITMAP CutBitmap(HBITMAP source, int x, int y, int width, int height);

// The region of the mask's pixels whose colour differs from the key (one rectangle per run
// of each row); an empty region when every pixel is the key colour, nullptr without a mask.
HRGN RegionFromMask(HBITMAP mask, COLORREF key);

}  // namespace mc::win32
