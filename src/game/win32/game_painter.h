// What the game window draws of its own with GDI: the edge pieces of the paint plan, each a
// plain stretched copy (COLORONCOLOR, SRCCOPY: no smoothing, no alpha), and the bold title
// in its colour on a transparent background, in the system code page, not clipped.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <array>
#include <vector>

#include "game/title_paint.h"

namespace mc::win32 {

// The piece bitmaps, entry k - 1 for edge piece k; a missing bitmap is skipped.
using EdgeBitmaps = std::array<HBITMAP, 8>;

void PaintEdgePieces(HDC dc, const std::vector<EdgeBlit>& blits, const EdgeBitmaps& pieces);
void PaintTitle(HDC dc, const TitlePaint& title, HFONT font);

}  // namespace mc::win32
