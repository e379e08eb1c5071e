#include "game/title_paint.h"

namespace mc {

std::vector<EdgeBlit> PlanEdgeBlits(const EdgePieces& e, GameSize client, bool maximized,
                                    bool fullScreen) {
  using P = EdgePiece;
  std::vector<EdgeBlit> blits;
  if (fullScreen) return blits;
  const auto add = [&](P piece, int x, int y, int width, int height) {
    if (!e.HasBitmap(piece) || width <= 0 || height <= 0) return;
    const SpriteCut& source = *e.Source(piece);
    blits.push_back({piece, {0, 0, e.W(piece), e.H(piece)}, source, {x, y, width, height}});
  };
  const int w = client.width;
  const int h = client.height;
  if (maximized) {
    add(P::kTop, 0, 0, w, e.H(P::kTop));
    return blits;
  }
  add(P::kTopLeft, 0, 0, e.W(P::kTopLeft), e.H(P::kTopLeft));
  add(P::kTopRight, w - e.W(P::kTopRight), 0, e.W(P::kTopRight), e.H(P::kTopRight));
  add(P::kTop, e.W(P::kTopLeft), 0, w - e.W(P::kTopLeft) - e.W(P::kTopRight), e.H(P::kTop));
  add(P::kLeft, 0, e.H(P::kTopLeft), e.W(P::kLeft), h - e.H(P::kTopLeft) - e.H(P::kBottomLeft));
  add(P::kRight, w - e.W(P::kRight), e.H(P::kTopRight), e.W(P::kRight),
      h - e.H(P::kTopRight) - e.H(P::kBottomRight));
  add(P::kBottomLeft, 0, h - e.H(P::kBottomLeft), e.W(P::kBottomLeft), e.H(P::kBottomLeft));
  add(P::kBottomRight, w - e.W(P::kBottomRight), h - e.H(P::kBottomRight), e.W(P::kBottomRight),
      e.H(P::kBottomRight));
  add(P::kBottom, e.W(P::kBottomLeft), h - e.H(P::kBottom),
      w - e.W(P::kBottomLeft) - e.W(P::kBottomRight), e.H(P::kBottom));
  return blits;
}

GamePoint IconPosition(GameSize client, GameSize icon) {
  return {(client.width - icon.width + 1) / 2, (client.height - icon.height + 1) / 2};
}

}  // namespace mc
