// Drawing the preview: the launcher and the game window side by side, each as the Linux client
// paints it (the launcher background with its alpha over a checkerboard, skin bitmaps as plain
// copies, edge pieces stretched nearest-neighbour), html areas and the browser as labelled
// boxes, the problems marked in red on the elements they are about and listed underneath.
//
// Layout of the picture: a 16-pixel margin, a 40-pixel band above each window for its caption
// and the tags of marks on its top edge, the launcher's top-left corner at (16, 56) and the
// game window's 32 pixels right of the launcher; the problem list starts 32 pixels below the
// taller window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "package/config_record.h"
#include "package/package_check.h"
#include "preview/preview_marks.h"
#include "preview/preview_scene.h"
#include "platform/gtk/cairo_handles.h"
#include "preview_pictures.h"

namespace mcpack {

inline constexpr int kPreviewMargin = 16;
inline constexpr int kPreviewCaptionHeight = 40;
inline constexpr int kPreviewWindowGap = 32;
// Pictures beyond this many pixels are not made (about 512 MB).
inline constexpr int64_t kMaxPreviewPixels = int64_t{1} << 27;

struct PreviewContent {
  const mc::ConfigRecord& config;
  const mc::LauncherScene& launcher;
  const mc::GameScene& game;
  const std::vector<mc::PackageProblem>& problems;
  const std::vector<mc::PreviewMark>& marks;
  std::string dir;  // the folder, as problems name their files
};

struct RenderedPreview {
  mc::gtk::CairoSurfacePtr surface;
  // Every rectangle that holds text (glyphs and what lies behind them), in the picture.
  std::vector<mc::GameRect> textBoxes;
};

// nullopt when the picture would be larger than kMaxPreviewPixels or cairo cannot make it.
std::optional<RenderedPreview> RenderPreview(const PreviewContent& content,
                                             FolderPictures& pictures);

}  // namespace mcpack
