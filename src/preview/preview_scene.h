// What the package tool's preview shows of the two windows, decided by the windows' own core
// code with no display: the launcher overlay built by BuildOverlayControls on the background
// picture's size, and a GameWindow initialised through a host that only records what it is
// asked to make and where. The pictures are asked for through PreviewPictures, so the tool
// decodes them with the client's own decoder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/package_layout.h"
#include "game/edge_pieces.h"
#include "game/game_geometry.h"
#include "game/game_window.h"
#include "game/title_buttons.h"
#include "game/title_paint.h"
#include "launcher/launcher_plan.h"
#include "package/config_record.h"

namespace mc {


// The work area the game window is previewed on unless told otherwise.
inline constexpr GameSize kDefaultPreviewSize{1024, 768};

class PreviewPictures {
 public:
  virtual ~PreviewPictures() = default;
  // The size of a package picture as the client decodes it; nullopt when it is missing or
  // does not decode.
  virtual std::optional<GameSize> PictureSize(const std::string& name) = 0;
  // Cuts an edge piece out of config/style.png and keeps it for drawing; false when no bitmap
  // could be made of it.
  virtual bool CutEdgePiece(EdgePiece piece, const SpriteCut& cut) = 0;
};

struct LauncherScene {
  GameSize size;            // the window: the background picture's size (0 x 0 without one)
  bool background = false;  // config/main1.png decodes
  int32_t placeholderColor = 0;
  struct Button {
    LauncherControl control;
    GameRect rect;       // on the picture
    bool faces = false;  // false: made, but its pressed picture failed, so it has no faces
  };
  struct HtmlArea {
    LauncherControl control;
    GameRect rect;
  };
  std::vector<Button> buttons;
  std::vector<HtmlArea> areas;
};

LauncherScene ComposeLauncherScene(const ConfigRecord& config, PreviewPictures& pictures);

enum class PreviewState { kMaximized, kRestored };

struct GameScene {
  GameSize size;  // the window
  bool maximized = false;
  GameInitStop stop = GameInitStop::kNone;
  EdgePieces edges;
  GamePaintPlan paint;  // edge copies and title, in drawing order
  struct Button {
    TitleButtonSetup setup;
    GameRect rect;  // in the window
    bool visible = true;
  };
  std::vector<Button> buttons;   // in creation order
  std::optional<GameRect> logo;  // when shown
  std::optional<GameRect> browser;
};

// The game window on a work area of `size` (kDefaultPreviewSize when not given). Maximised it
// fills the work area. Restored it takes the rectangle the client restores to and, when a size
// was given, is then sized to it by its border, as a player would. A window whose
// initialisation stops keeps the state it stopped in, its parts laid out once.
GameScene ComposeGameScene(const ConfigRecord& config, std::optional<GameSize> size,
                           PreviewState state, PreviewPictures& pictures);

}  // namespace mc
