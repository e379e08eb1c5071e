// What the game window paints of its own: the border and title band from the edge pieces and
// the title text. Children (browser, buttons, logo) paint themselves. The area inside the
// frame is left to the browser that covers it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/edge_pieces.h"
#include "game/game_geometry.h"

namespace mc {

// One copy of a whole edge piece onto the window, stretched to the destination. `piece` is
// the source within the cut piece bitmap, (0, 0, W, H); `sprite` the same pixels within
// config/style.png, for a port that draws straight from the sprite.
struct EdgeBlit {
  EdgePiece edge = EdgePiece::kTop;
  SpriteCut piece;
  SpriteCut sprite;
  SpriteCut dest;
  bool operator==(const EdgeBlit&) const = default;
};

// The copies for a window whose client area is `client` (the window has no frame of the
// system's, so that is the whole window), in drawing order:
//  - full screen: none;
//  - maximised: the title band alone, stretched over the full width;
//  - restored: top-left and top-right corners, the title band between them, the left and
//    right sides between the top and bottom corners, the bottom corners, then the bottom
//    between them. Corners keep their size; sides and bands stretch.
// A piece without a bitmap is left out, and so is a copy whose destination has no area (a
// window narrower than its two corners), which would otherwise be drawn mirrored.
std::vector<EdgeBlit> PlanEdgeBlits(const EdgePieces& edges, GameSize client, bool maximized,
                                    bool fullScreen);

// The title text as drawn: at its configured position, in its colour (0x00BBGGRR), on a
// transparent background, bold, not clipped.
struct TitlePaint {
  GamePoint position;
  int32_t color = 0;
  std::string text;  // GBK
  bool operator==(const TitlePaint&) const = default;
};

// Where a minimised window draws its icon: centred, halves rounded up.
GamePoint IconPosition(GameSize client, GameSize icon);

struct GamePaintPlan {
  enum class Kind {
    kIcon,     // minimised: the icon alone, at iconPosition
    kNothing,  // full screen: only the default processing
    kFrame,    // the edge copies, then the title-bar buttons redrawn, then the title
  };
  Kind kind = Kind::kNothing;
  GamePoint iconPosition;
  std::vector<EdgeBlit> blits;
  std::optional<TitlePaint> title;  // none while no title text was ever set
};

}  // namespace mc
