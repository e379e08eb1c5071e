// The desktop as the game window meets it: one or more monitors, each with a work area. Which
// monitor holds a window, how large a window may become, and where a window goes whose
// monitor went away. Rectangles are in screen coordinates.
#pragma once

#include <optional>
#include <vector>

#include "game/game_geometry.h"

namespace mc {

// X11 keeps window positions in 16 bits; configured offsets can be anything. Windows and
// their children are kept well inside that range (anything this far out is off every screen).
inline constexpr int kMaxWindowCoordinate = 30000;

// True when the two rectangles share at least one pixel.
bool Overlaps(const GameRect& a, const GameRect& b);

// The index of the monitor holding the window: the one it overlaps most (the first of equals),
// or, when it overlaps none, the one nearest to it. nullopt when there is no monitor.
std::optional<size_t> MonitorHolding(const GameRect& window, const std::vector<GameRect>& monitors);

// The smallest rectangle holding every monitor; empty when there is none.
GameRect DesktopBounds(const std::vector<GameRect>& monitors);

// A window rectangle as the native system can hold it: its corner within
// +-kMaxWindowCoordinate, its size at least 1 x 1 and, on each side where `largest` is not 0,
// no larger than `largest` (a window never outgrows the desktop, which also keeps its drawing
// surfaces bounded).
GameRect LimitWindowRect(const GameRect& wanted, GameSize largest);

// A window that lies on no monitor any more, moved into `workArea` keeping its size: it ends
// inside the area where it fits, else at the area's left or top edge.
GameRect MoveIntoWorkArea(const GameRect& window, const GameRect& workArea);

// `rect` moved by (dx, dy), saturating.
GameRect OffsetRect(const GameRect& rect, int dx, int dy);

}  // namespace mc
