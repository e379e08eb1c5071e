#include "game/frame_geometry.h"

#include <algorithm>

namespace mc {

HitCode FrameHitTest(GamePoint p, const GameRect& r, const EdgePieces& e, bool maximized,
                     bool fullScreen) {
  using P = EdgePiece;
  if (maximized || fullScreen) return HitCode::kClient;
  // Piece sizes are at most kMaxPieceSide, so these sums cannot overflow for any window.
  const auto nearLeft = [&](P piece) { return int64_t{p.x} <= int64_t{r.left} + e.W(piece); };
  const auto nearRight = [&](P piece) { return int64_t{p.x} >= int64_t{r.right} - e.W(piece); };
  const auto nearTop = [&](P piece) { return int64_t{p.y} <= int64_t{r.top} + e.H(piece); };
  const auto nearBottom = [&](P piece) { return int64_t{p.y} >= int64_t{r.bottom} - e.H(piece); };
  if (nearLeft(P::kTopLeft) && nearTop(P::kTopLeft)) return HitCode::kTopLeft;
  if (nearRight(P::kTopRight) && nearTop(P::kTopRight)) return HitCode::kTopRight;
  if (nearLeft(P::kBottomLeft) && nearBottom(P::kBottomLeft)) return HitCode::kBottomLeft;
  if (nearRight(P::kBottomRight) && nearBottom(P::kBottomRight)) return HitCode::kBottomRight;
  if (nearLeft(P::kLeft)) return HitCode::kLeft;
  if (nearRight(P::kRight)) return HitCode::kRight;
  if (nearBottom(P::kBottom)) return HitCode::kBottom;
  return HitCode::kClient;
}

CursorShape CursorForHitCode(int hitCode) {
  switch (static_cast<HitCode>(hitCode)) {
    case HitCode::kLeft:
    case HitCode::kRight:
      return CursorShape::kSizeWE;
    case HitCode::kTop:
    case HitCode::kBottom:
      return CursorShape::kSizeNS;
    case HitCode::kTopLeft:
    case HitCode::kBottomRight:
      return CursorShape::kSizeNWSE;
    case HitCode::kTopRight:
    case HitCode::kBottomLeft:
      return CursorShape::kSizeNESW;
    default:
      return CursorShape::kArrow;
  }
}

int SizingEdgeForHitCode(int hitCode) {
  switch (static_cast<HitCode>(hitCode)) {
    case HitCode::kLeft:
      return 1;
    case HitCode::kRight:
      return 2;
    case HitCode::kTop:
      return 3;
    case HitCode::kTopLeft:
      return 4;
    case HitCode::kTopRight:
      return 5;
    case HitCode::kBottom:
      return 6;
    case HitCode::kBottomLeft:
      return 7;
    case HitCode::kBottomRight:
      return 8;
    default:
      return 0;
  }
}

GameSize MinTrackSize(const GameRect& workArea, int32_t minGameWidth, int32_t minGameHeight) {
  return {std::max(0, std::min(workArea.width(), minGameWidth)),
          std::max(0, std::min(workArea.height(), minGameHeight))};
}

void ClampSizingRect(GameRect& proposed, GameSize minimum) {
  if (proposed.width() < minimum.width) proposed.right = SaturatedAdd(proposed.left, minimum.width);
  if (proposed.height() < minimum.height)
    proposed.bottom = SaturatedAdd(proposed.top, minimum.height);
}

GameRect InitialRestoreRect(const GameRect& workArea, int32_t minGameWidth, int32_t minGameHeight) {
  const int64_t width = std::max(minGameWidth, 0);
  const int64_t height = std::max(minGameHeight, 0);
  // Halves truncate toward zero before negative offsets become 0.
  const int64_t x = std::max<int64_t>((int64_t{workArea.right} - workArea.left - width) / 2, 0);
  const int64_t y = std::max<int64_t>((int64_t{workArea.bottom} - workArea.top - height) / 2, 0);
  return {SaturateInt(x), SaturateInt(y), SaturateInt(x + width), SaturateInt(y + height)};
}

GameRect FullScreenRect(const GameRect& window, const GameRect& client, const GameRect& monitor) {
  return {monitor.left + window.left - client.left, monitor.top + window.top - client.top,
          monitor.right + window.right - client.right,
          monitor.bottom + window.bottom - client.bottom};
}

std::optional<GameRect> TitleDrag::MouseMove(GamePoint p, bool leftButtonOnly, bool draggable,
                                             int titleHeight, const GameRect& window) {
  if (leftButtonOnly && draggable && p.y < titleHeight && p != lastMousePos_) {
    const int dx = p.x - lastMousePos_.x;
    const int dy = p.y - lastMousePos_.y;
    return GameRect{window.left + dx, window.top + dy, window.right + dx, window.bottom + dy};
  }
  lastMousePos_ = p;
  return std::nullopt;
}

}  // namespace mc
