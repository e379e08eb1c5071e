#include "game/double_click.h"

namespace mc {
namespace {

bool Near(int a, int b, int distance) {
  const int64_t d = int64_t{a} - b;
  return (d < 0 ? -d : d) <= distance;
}

}  // namespace

bool DoubleClickTracker::Press(const void* surface, uint32_t time, GamePoint screen,
                               const DoubleClickLimits& limits) {
  // The interval is taken modulo 2^32, so a clock that wrapped between the presses still
  // measures it; a negative limit, taken the same way, allows any interval.
  const bool twice = last_ && last_->surface == surface &&
                     time - last_->time <= static_cast<uint32_t>(limits.time) &&
                     Near(screen.x, last_->screen.x, limits.distance) &&
                     Near(screen.y, last_->screen.y, limits.distance);
  if (twice)
    last_.reset();
  else
    last_ = Click{surface, time, screen};
  return twice;
}

}  // namespace mc
