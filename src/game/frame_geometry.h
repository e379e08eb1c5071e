// Geometry rules of the frameless game window: its border zones and their cursors, sizing
// limits, the restored and full-screen rectangles, and moving the window by its title band.
//
// The window never uses the system's maximised state. "Maximised" is a normal window sized to
// the work area; "restored" is a window of the configured minimum size that the user may move
// and size; full screen lies on top of either and remembers which one it came from.
#pragma once

#include <cstdint>
#include <optional>

#include "game/edge_pieces.h"
#include "game/game_geometry.h"

namespace mc {

// Answers to the system's hit test, with the system's numbers.
enum class HitCode : int {
  kClient = 1,
  kLeft = 10,
  kRight = 11,
  kTop = 12,
  kTopLeft = 13,
  kTopRight = 14,
  kBottom = 15,
  kBottomLeft = 16,
  kBottomRight = 17,
};

// The zone of the window's own surface under a screen point. Only the restored window has
// border zones (as large as the corner pieces and as wide as the side pieces); the top edge
// between the corners is client area, since the title band moves the window instead.
HitCode FrameHitTest(GamePoint screen, const GameRect& window, const EdgePieces& edges,
                     bool maximized, bool fullScreen);

enum class CursorShape { kArrow, kSizeWE, kSizeNS, kSizeNWSE, kSizeNESW };

// The cursor follows the hit code alone; any code without a sizing cursor shows the arrow.
CursorShape CursorForHitCode(int hitCode);

// Sizing starts with the system command kSysCommandSize + edge, the edge numbered 1 (left) to
// 8 (bottom-right) as sizing notifications number them. 0 for a code that is not a border.
inline constexpr int kSysCommandSize = 0xF000;
int SizingEdgeForHitCode(int hitCode);

// The smallest size sizing by the border allows: the configured minimum, but never more than
// the work area.
GameSize MinTrackSize(const GameRect& workArea, int32_t minGameWidth, int32_t minGameHeight);

// A proposed rectangle brought up to the minimum size. The right and bottom sides move,
// whichever edge is being dragged.
void ClampSizingRect(GameRect& proposed, GameSize minimum);

// The restored rectangle, of the configured minimum size, centred in a box of the work area's
// size placed at the screen origin (the work area's own left and top are not added; the window
// moves it to its monitor's top-left corner). An offset that would be negative is 0. Negative
// configured sizes count as 0.
GameRect InitialRestoreRect(const GameRect& workArea, int32_t minGameWidth, int32_t minGameHeight);

// The window rectangle whose client area covers exactly the monitor, from the window's and
// the client area's rectangles in screen coordinates.
GameRect FullScreenRect(const GameRect& window, const GameRect& clientOnScreen,
                        const GameRect& monitor);

// Moving the window by dragging its title band. The pointer is not captured: each move while
// the left button alone is held offsets the window by the pointer's distance from the point
// where the band was grabbed, which brings that point of the window back under the pointer.
class TitleDrag {
 public:
  // A pointer move over the window's own surface, in client coordinates. `draggable` is true
  // in the restored state only. Returns where the window goes, or nullopt when the move is
  // not a drag; the point is then remembered as the grab point and the move gets the
  // window's default processing.
  std::optional<GameRect> MouseMove(GamePoint client, bool leftButtonOnly, bool draggable,
                                    int titleHeight, const GameRect& window);

  GamePoint lastMousePos() const { return lastMousePos_; }

 private:
  GamePoint lastMousePos_{0, 0};
};

}  // namespace mc
