// Where the game window's children go for a window size and state: the browser fills the
// inside of the frame, the title-bar buttons hang from the right edge.
#pragma once

#include <vector>

#include "game/edge_pieces.h"
#include "game/game_geometry.h"

namespace mc {

// A title-bar button as placed: its configured offset (a negative x counts from the right)
// and its picture's size.
struct ButtonAnchor {
  GamePoint offset;
  GameSize size;
};

// Rectangles in window coordinates.
struct ChildLayout {
  GameRect browser;
  std::vector<GameRect> buttons;  // in the order of the anchors
};

// Restored: the browser inside the side, title and bottom pieces, and each button moved left
// by the right border's width. Maximised: the browser below the title band across the whole
// width, buttons from the very edge. Full screen: the browser covers the window (buttons keep
// their places but are hidden). Sizes never go below 0.
ChildLayout ComputeChildLayout(GameSize window, bool maximized, bool fullScreen,
                               const EdgePieces& edges, const std::vector<ButtonAnchor>& buttons);

// The browser's first rectangle, made before the window has its final size: the restored
// inset within a window of the work area's size.
GameRect InitialBrowserRect(GameSize workArea, const EdgePieces& edges);

// The logo's rectangle at its configured position.
GameRect LogoRect(GamePoint position, GameSize logoSize);

}  // namespace mc
