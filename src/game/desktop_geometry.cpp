#include "game/desktop_geometry.h"

#include <algorithm>
#include <cstdint>

namespace mc {
namespace {

int64_t OverlapArea(const GameRect& a, const GameRect& b) {
  const int64_t width = int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
  const int64_t height = int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
  return width > 0 && height > 0 ? width * height : 0;
}

// How far apart two rectangles lie, as the square of the gap between their nearest edges.
int64_t GapSquared(const GameRect& a, const GameRect& b) {
  const auto gap = [](int64_t lowA, int64_t highA, int64_t lowB, int64_t highB) -> int64_t {
    if (highA <= lowB) return lowB - highA;
    if (highB <= lowA) return lowA - highB;
    return 0;
  };
  const int64_t dx = gap(a.left, a.right, b.left, b.right);
  const int64_t dy = gap(a.top, a.bottom, b.top, b.bottom);
  return dx * dx + dy * dy;
}

// Where a side of `length` goes in [low, high): unchanged when it fits there, else inside,
// else at `low`.
int64_t KeepInside(int64_t start, int64_t length, int64_t low, int64_t high) {
  if (length >= high - low) return low;
  return std::clamp(start, low, high - length);
}

}  // namespace

bool Overlaps(const GameRect& a, const GameRect& b) { return OverlapArea(a, b) > 0; }

std::optional<size_t> MonitorHolding(const GameRect& window,
                                     const std::vector<GameRect>& monitors) {
  std::optional<size_t> best;
  int64_t bestArea = 0;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const int64_t area = OverlapArea(window, monitors[i]);
    if (area > bestArea) {
      best = i;
      bestArea = area;
    }
  }
  if (best) return best;
  int64_t bestGap = 0;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const int64_t gap = GapSquared(window, monitors[i]);
    if (!best || gap < bestGap) {
      best = i;
      bestGap = gap;
    }
  }
  return best;
}

GameRect DesktopBounds(const std::vector<GameRect>& monitors) {
  if (monitors.empty()) return {};
  GameRect bounds = monitors.front();
  for (const GameRect& m : monitors) {
    bounds.left = std::min(bounds.left, m.left);
    bounds.top = std::min(bounds.top, m.top);
    bounds.right = std::max(bounds.right, m.right);
    bounds.bottom = std::max(bounds.bottom, m.bottom);
  }
  return bounds;
}

GameRect LimitWindowRect(const GameRect& r, GameSize largest) {
  const auto side = [](int64_t wanted, int limit) {
    const int64_t most = limit > 0 ? limit : kMaxWindowCoordinate;
    return static_cast<int>(std::clamp<int64_t>(wanted, 1, most));
  };
  const int left = std::clamp(r.left, -kMaxWindowCoordinate, kMaxWindowCoordinate);
  const int top = std::clamp(r.top, -kMaxWindowCoordinate, kMaxWindowCoordinate);
  return {left, top, left + side(int64_t{r.right} - r.left, largest.width),
          top + side(int64_t{r.bottom} - r.top, largest.height)};
}

GameRect MoveIntoWorkArea(const GameRect& window, const GameRect& area) {
  const int64_t width = int64_t{window.right} - window.left;
  const int64_t height = int64_t{window.bottom} - window.top;
  const int64_t left = KeepInside(window.left, width, area.left, area.right);
  const int64_t top = KeepInside(window.top, height, area.top, area.bottom);
  return {SaturateInt(left), SaturateInt(top), SaturateInt(left + width),
          SaturateInt(top + height)};
}

GameRect OffsetRect(const GameRect& r, int dx, int dy) {
  return {SaturatedAdd(r.left, dx), SaturatedAdd(r.top, dy), SaturatedAdd(r.right, dx),
          SaturatedAdd(r.bottom, dy)};
}

}  // namespace mc
