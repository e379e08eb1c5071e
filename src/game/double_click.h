// Telling a double-click from two clicks, for a port whose toolkit reports the second press of
// a double-click as a plain press first (GDK) while the window's behaviour expects what Windows
// delivers: a double-click message in place of that press.
#pragma once

#include <cstdint>
#include <optional>

#include "game/game_geometry.h"

namespace mc {

// The desktop's limits for the second press: at most this long after the first (milliseconds)
// and at most this far from it on either axis (pixels).
struct DoubleClickLimits {
  int time = 400;
  int distance = 5;
};

class DoubleClickTracker {
 public:
  // A left press on `surface` (the pressed widget, an identity only) at `time`, a millisecond
  // clock that wraps at 32 bits. True when it completes a double-click: the previous press was
  // on the same surface, within the limits. That press is then used up, so a third press starts
  // a new click, as on Windows.
  bool Press(const void* surface, uint32_t time, GamePoint screen, const DoubleClickLimits& limits);

 private:
  struct Click {
    const void* surface = nullptr;
    uint32_t time = 0;
    GamePoint screen;
  };
  std::optional<Click> last_;
};

}  // namespace mc
