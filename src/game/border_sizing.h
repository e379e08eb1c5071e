// Sizing the game window by its border where the system does not do it for us (the Linux port
// draws its own frame and runs its own sizing loop): which sides a border edge moves, the loop
// from the press on the border to the release, and the cursor names of the sizing shapes.
#pragma once

#include <optional>

#include "game/frame_geometry.h"
#include "game/game_geometry.h"

namespace mc {

// `start` with the sides of sizing edge `edge` (1 left, 2 right, 3 top, 4 top-left,
// 5 top-right, 6 bottom, 7 bottom-left, 8 bottom-right, as SizingEdgeForHitCode numbers them)
// moved by the pointer's travel; sums saturate. Any other edge leaves the rectangle as it is.
GameRect SizedRect(GameRect start, int edge, int dx, int dy);

// One border drag: it begins with the press on the border, each pointer move proposes the
// start rectangle sized by the pointer's travel from the press (never by the sum of small
// steps, so the window's own moves do not feed back), and the release ends it. The proposal
// still has to pass the window's sizing clamp.
class BorderSizing {
 public:
  void Begin(int edge, const GameRect& window, GamePoint pointer) {
    drag_ = Drag{edge, window, pointer};
  }
  bool active() const { return drag_.has_value(); }
  // The rectangle the pointer at `pointer` asks for; nullopt when no drag is in progress.
  std::optional<GameRect> Track(GamePoint pointer) const;
  void End() { drag_.reset(); }

 private:
  struct Drag {
    int edge = 0;
    GameRect start;
    GamePoint pointer;
  };
  std::optional<Drag> drag_;
};

// The name a cursor theme knows the shape by (CSS cursor names): "ew-resize", "ns-resize",
// "nwse-resize", "nesw-resize", and "default" for the arrow.
const char* CursorName(CursorShape shape);

}  // namespace mc
