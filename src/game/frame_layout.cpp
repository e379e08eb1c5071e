#include "game/frame_layout.h"

#include <algorithm>

namespace mc {

namespace {

// Rectangle of a corner and a size, a negative size taken as 0.
GameRect RectOf(int64_t x, int64_t y, int64_t width, int64_t height) {
  width = std::max<int64_t>(width, 0);
  height = std::max<int64_t>(height, 0);
  return {SaturateInt(x), SaturateInt(y), SaturateInt(x + width), SaturateInt(y + height)};
}

GameRect InsetBrowser(GameSize window, const EdgePieces& e) {
  using P = EdgePiece;
  return RectOf(e.W(P::kLeft), e.H(P::kTop), int64_t{window.width} - e.W(P::kLeft) - e.W(P::kRight),
                int64_t{window.height} - e.H(P::kTop) - e.H(P::kBottom));
}

}  // namespace

ChildLayout ComputeChildLayout(GameSize window, bool maximized, bool fullScreen,
                               const EdgePieces& edges, const std::vector<ButtonAnchor>& buttons) {
  ChildLayout layout;
  const int rightBorder = maximized ? 0 : edges.W(EdgePiece::kRight);
  layout.buttons.reserve(buttons.size());
  for (const ButtonAnchor& button : buttons) {
    layout.buttons.push_back(RectOf(int64_t{button.offset.x} + window.width - rightBorder,
                                    button.offset.y, button.size.width, button.size.height));
  }
  if (fullScreen) {
    layout.browser = RectOf(0, 0, window.width, window.height);
  } else if (maximized) {
    const int title = edges.TitleHeight();
    layout.browser = RectOf(0, title, window.width, int64_t{window.height} - title);
  } else {
    layout.browser = InsetBrowser(window, edges);
  }
  return layout;
}

GameRect InitialBrowserRect(GameSize workArea, const EdgePieces& edges) {
  return InsetBrowser(workArea, edges);
}

GameRect LogoRect(GamePoint position, GameSize logoSize) {
  return RectOf(position.x, position.y, logoSize.width, logoSize.height);
}

}  // namespace mc
