#include "game/border_sizing.h"

#include <cstdint>

namespace mc {

GameRect SizedRect(GameRect r, int edge, int dx, int dy) {
  const bool left = edge == 1 || edge == 4 || edge == 7;
  const bool right = edge == 2 || edge == 5 || edge == 8;
  const bool top = edge == 3 || edge == 4 || edge == 5;
  const bool bottom = edge == 6 || edge == 7 || edge == 8;
  if (left) r.left = SaturatedAdd(r.left, dx);
  if (right) r.right = SaturatedAdd(r.right, dx);
  if (top) r.top = SaturatedAdd(r.top, dy);
  if (bottom) r.bottom = SaturatedAdd(r.bottom, dy);
  return r;
}

std::optional<GameRect> BorderSizing::Track(GamePoint pointer) const {
  if (!drag_) return std::nullopt;
  const int dx = SaturateInt(int64_t{pointer.x} - drag_->pointer.x);
  const int dy = SaturateInt(int64_t{pointer.y} - drag_->pointer.y);
  return SizedRect(drag_->start, drag_->edge, dx, dy);
}

const char* CursorName(CursorShape shape) {
  switch (shape) {
    case CursorShape::kSizeWE:
      return "ew-resize";
    case CursorShape::kSizeNS:
      return "ns-resize";
    case CursorShape::kSizeNWSE:
      return "nwse-resize";
    case CursorShape::kSizeNESW:
      return "nesw-resize";
    case CursorShape::kArrow:
      break;
  }
  return "default";
}

}  // namespace mc
