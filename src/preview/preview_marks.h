// Where the preview marks each problem that the package check found: on the element the
// problem is about, at the place the element has (or would have, when it was not made).
// Problems of no single element (counts, headers, texts nothing shows) get no mark; the
// preview lists every problem in any case.
#pragma once

#include <cstddef>
#include <vector>

#include "game/game_geometry.h"
#include "package/config_record.h"
#include "package/package_check.h"
#include "preview/preview_scene.h"

namespace mc {

// A window whose picture is missing is shown as an empty box of this size.
inline constexpr GameSize kAbsentWindowSize{320, 200};
// A missing picture is marked by a box of this size at its configured place.
inline constexpr GameSize kAbsentElementSize{16, 16};
// A missing edge piece is marked by a strip this thick along its side of the window.
inline constexpr int kAbsentEdgeThickness = 6;

enum class PreviewWindow { kLauncher, kGame };

struct PreviewMark {
  PreviewWindow window = PreviewWindow::kLauncher;
  GameRect rect;  // in the window, kept on it
  // Nothing of the element is drawn there (its picture is missing, it was not made).
  bool absent = false;
  // The title text: rect is its anchor and grows to the text once it is laid out.
  bool titleText = false;
  std::vector<size_t> problems;  // numbers in the problem list, from 1
  bool operator==(const PreviewMark&) const = default;
};

// One mark per element, carrying the numbers of all problems about it, in the order the
// elements are first named.
std::vector<PreviewMark> MarkProblems(const std::vector<PackageProblem>& problems,
                                      const ConfigRecord& config, const LauncherScene& launcher,
                                      const GameScene& game);

// A mark never leaves its window, so that it can be seen: it is cut to the window, and one
// entirely outside becomes a box of kAbsentElementSize at the nearest edge.
GameRect KeepOnWindow(GameRect rect, GameSize window);

// The size the preview gives a window: its own, or kAbsentWindowSize when it has none.
GameSize ShownSize(GameSize size);

}  // namespace mc
