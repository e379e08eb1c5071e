#include "preview/preview_marks.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "game/frame_layout.h"
#include "launcher/launcher_plan.h"

namespace mc {

namespace {

struct Target {
  PreviewWindow window;
  GameRect rect;
  bool absent = false;
  bool titleText = false;
};

// The number after `prefix` in a section or file name ("link12" -> 12), 0 when there is none.
// Section names of the check are spelt as the client numbers them.
int NumberAfter(std::string_view name, std::string_view prefix, std::string_view suffix = {}) {
  if (!name.starts_with(prefix) || !name.ends_with(suffix)) return 0;
  const std::string_view digits =
      name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  return error == std::errc() && end == digits.data() + digits.size() && number > 0 ? number : 0;
}

GameRect SizedAt(int64_t x, int64_t y, GameSize size) {
  return {SaturateInt(x), SaturateInt(y), SaturateInt(x + size.width),
          SaturateInt(y + size.height)};
}

}  // namespace

GameRect KeepOnWindow(GameRect r, GameSize window) {
  const int w = std::max(window.width, 1), h = std::max(window.height, 1);
  const GameRect cut{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, w),
                     std::min(r.bottom, h)};
  if (cut.width() > 0 && cut.height() > 0) return cut;
  const int boxWidth = std::min(kAbsentElementSize.width, w);
  const int boxHeight = std::min(kAbsentElementSize.height, h);
  const int left = std::clamp(r.left, 0, w - boxWidth);
  const int top = std::clamp(r.top, 0, h - boxHeight);
  return {left, top, left + boxWidth, top + boxHeight};
}

namespace {

class Marker {
 public:
  Marker(const ConfigRecord& config, const LauncherScene& launcher, const GameScene& game)
      : config_(config), launcher_(launcher), game_(game) {}

  std::vector<PreviewMark> Run(const std::vector<PackageProblem>& problems) {
    for (size_t i = 0; i < problems.size(); ++i) {
      number_ = i + 1;
      MarkProblem(problems[i]);
    }
    return std::move(marks_);
  }

 private:
  void MarkProblem(const PackageProblem& p) {
    if (p.file == kBackgroundEntry) return Add(LauncherWindow());
    if (p.file == kSpriteEntry) return Add(GameWindow());
    if (p.file == kLogoEntry) return Add(Logo());
    if (const int link = LinkOfImageEntry(p.file)) return Link(link);
    if (p.section == kGlobalSection) {
      if (const int piece = NumberAfter(p.key, kEdgeImageKeyPrefix);
          piece >= 1 && piece <= kEdgeImageCount)
        return Add(Edge(static_cast<EdgePiece>(piece)));
      if (p.key == "title") return Add(Title());
      return;
    }
    if (const int link = NumberAfter(p.section, kLinkSectionPrefix)) return Link(link);
    if (const int button = NumberAfter(p.section, kGameButtonSectionPrefix))
      return Add(TitleButton(static_cast<size_t>(button) - 1));
    if (const int picture = NumberAfter(p.section, kGamePicSectionPrefix)) return Picture(picture);
    if (NumberAfter(p.section, kMenuSectionPrefix)) return SettingsButton();
  }

  void Add(const Target& target) {
    for (PreviewMark& mark : marks_) {
      if (mark.window == target.window && mark.rect == target.rect &&
          mark.absent == target.absent && mark.titleText == target.titleText) {
        if (mark.problems.back() != number_) mark.problems.push_back(number_);
        return;
      }
    }
    marks_.push_back({target.window, target.rect, target.absent, target.titleText, {number_}});
  }

  Target LauncherWindow() const {
    return {PreviewWindow::kLauncher,
            {0, 0, ShownSize(launcher_.size).width, ShownSize(launcher_.size).height},
            !launcher_.background};
  }

  Target GameWindow() const {
    return {PreviewWindow::kGame,
            {0, 0, ShownSize(game_.size).width, ShownSize(game_.size).height},
            game_.stop == GameInitStop::kSprite};
  }

  Target OnGame(GameRect rect, bool absent = false, bool titleText = false) const {
    return {PreviewWindow::kGame, KeepOnWindow(rect, ShownSize(game_.size)), absent, titleText};
  }

  Target Logo() const {
    if (game_.logo) return OnGame(*game_.logo);
    return OnGame(SizedAt(config_.logx, config_.logy, kAbsentElementSize), true);
  }

  Target Title() const {
    return OnGame(SizedAt(config_.titlex, config_.titley, kAbsentElementSize), !game_.paint.title,
                  true);
  }

  void Link(int number) {
    for (const LauncherScene::Button& button : launcher_.buttons)
      if (button.control.linkNumber == number) return AddOnLauncher(button.rect, !button.faces);
    for (const LauncherScene::HtmlArea& area : launcher_.areas)
      if (area.control.linkNumber == number) return AddOnLauncher(area.rect, false);
    if (number > static_cast<int>(config_.links.size())) return;
    // Not made: where its record puts it, as large as configured.
    const LinkEntry& link = config_.links[static_cast<size_t>(number) - 1];
    const GameSize size{link.width > 0 ? link.width : kAbsentElementSize.width,
                        link.height > 0 ? link.height : kAbsentElementSize.height};
    AddOnLauncher(SizedAt(link.x, link.y, size), true);
  }

  void AddOnLauncher(GameRect rect, bool absent) {
    Add({PreviewWindow::kLauncher, KeepOnWindow(rect, ShownSize(launcher_.size)), absent});
  }

  Target TitleButton(size_t entry) const {
    for (const GameScene::Button& button : game_.buttons)
      if (button.setup.entryIndex == entry) return OnGame(button.rect, !button.visible);
    // Not made: where the window would have put it, at the size of a missing picture.
    GamePoint offset;
    if (entry < config_.gameButtons.size())
      offset = {config_.gameButtons[entry].x, config_.gameButtons[entry].y};
    const ChildLayout layout = ComputeChildLayout(game_.size, game_.maximized, false, game_.edges,
                                                  {{offset, kAbsentElementSize}});
    return OnGame(layout.buttons[0], true);
  }

  void SettingsButton() {
    for (const GameScene::Button& button : game_.buttons)
      if (button.setup.type == button_type::kSettings) return Add(OnGame(button.rect));
  }

  Target Edge(EdgePiece piece) const {
    for (const EdgeBlit& blit : game_.paint.blits) {
      if (blit.edge != piece) continue;
      const SpriteCut& d = blit.dest;
      return OnGame({d.x, d.y, SaturatedAdd(d.x, d.width), SaturatedAdd(d.y, d.height)});
    }
    // Not drawn: a strip along its side.
    const int w = game_.size.width, h = game_.size.height, t = kAbsentEdgeThickness;
    GameRect strip;
    switch (piece) {
      case EdgePiece::kTopLeft:
        strip = {0, 0, t, t};
        break;
      case EdgePiece::kTop:
        strip = {0, 0, w, t};
        break;
      case EdgePiece::kTopRight:
        strip = {w - t, 0, w, t};
        break;
      case EdgePiece::kLeft:
        strip = {0, 0, t, h};
        break;
      case EdgePiece::kRight:
        strip = {w - t, 0, w, h};
        break;
      case EdgePiece::kBottomLeft:
        strip = {0, h - t, t, h};
        break;
      case EdgePiece::kBottom:
        strip = {0, h - t, w, h};
        break;
      case EdgePiece::kBottomRight:
        strip = {w - t, h - t, w, h};
        break;
    }
    return OnGame(strip, true);
  }

  // Every element cut from the picture.
  void Picture(int number) {
    for (int k = 1; k <= kEdgeImageCount; ++k)
      if (config_.edgeImages[static_cast<size_t>(k) - 1] == number)
        Add(Edge(static_cast<EdgePiece>(k)));
    for (size_t i = 0; i < config_.gameButtons.size(); ++i)
      if (config_.gameButtons[i].image == number) Add(TitleButton(i));
  }

  const ConfigRecord& config_;
  const LauncherScene& launcher_;
  const GameScene& game_;
  size_t number_ = 0;
  std::vector<PreviewMark> marks_;
};

}  // namespace

GameSize ShownSize(GameSize size) {
  return size.width > 0 && size.height > 0 ? size : kAbsentWindowSize;
}

std::vector<PreviewMark> MarkProblems(const std::vector<PackageProblem>& problems,
                                      const ConfigRecord& config, const LauncherScene& launcher,
                                      const GameScene& game) {
  return Marker(config, launcher, game).Run(problems);
}

}  // namespace mc
