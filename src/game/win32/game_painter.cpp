#include "game/win32/game_painter.h"

#include "platform/win32/gdi_handles.h"

namespace mc::win32 {

void PaintEdgePieces(HDC dc, const std::vector<EdgeBlit>& blits, const EdgeBitmaps& pieces) {
  if (blits.empty()) return;
  ScopedMemoryDC memory(dc);
  if (!memory) return;
  const int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
  for (const EdgeBlit& blit : blits) {
    const HBITMAP bitmap = pieces[static_cast<size_t>(static_cast<int>(blit.edge) - 1)];
    if (!bitmap) continue;
    ScopedSelectObject selected(memory.get(), bitmap);
    StretchBlt(dc, blit.dest.x, blit.dest.y, blit.dest.width, blit.dest.height, memory.get(),
               blit.piece.x, blit.piece.y, blit.piece.width, blit.piece.height, SRCCOPY);
  }
  if (previousMode) SetStretchBltMode(dc, previousMode);
}

void PaintTitle(HDC dc, const TitlePaint& title, HFONT font) {
  if (title.text.empty()) return;
  const int previousMode = SetBkMode(dc, TRANSPARENT);
  // A colour, whatever else the configured number holds in its top byte.
  const COLORREF previousColor = SetTextColor(dc, static_cast<COLORREF>(title.color) & 0xFFFFFF);
  ScopedSelectObject selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  TextOutA(dc, title.position.x, title.position.y, title.text.data(),
           static_cast<int>(title.text.size()));
  SetTextColor(dc, previousColor);
  SetBkMode(dc, previousMode);
}

}  // namespace mc::win32
