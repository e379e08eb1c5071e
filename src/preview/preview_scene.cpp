#include "preview/preview_scene.h"

#include <utility>

#include "launcher/overlay_build.h"

namespace mc {

namespace {

GameRect RectOf(const ControlRect& r) {
  return {r.left, r.top, r.left + r.width, r.top + r.height};
}

// The overlay as it builds, keeping what was made instead of making windows.
class RecordingOverlay final : public OverlayBuildHost {
 public:
  RecordingOverlay(PreviewPictures& pictures, LauncherScene& scene)
      : pictures_(pictures), scene_(scene) {}

  bool LoadButtonImage(const std::string& name, bool, int& width, int& height) override {
    const std::optional<GameSize> size = pictures_.PictureSize(name);
    if (!size) return false;
    width = size->width;
    height = size->height;
    return true;
  }
  bool CreateButton(const LauncherControl& control, const ControlRect& rect) override {
    scene_.buttons.push_back({control, RectOf(rect), false});
    return true;
  }
  void FinishButton(const LauncherControl&) override { scene_.buttons.back().faces = true; }
  bool CreateHtmlArea(const LauncherControl& control, const ControlRect& rect) override {
    scene_.areas.push_back({control, RectOf(rect)});
    return true;
  }
  void SetPlaceholderArea(const ControlRect&) override {}

 private:
  PreviewPictures& pictures_;
  LauncherScene& scene_;
};

// A game window that is never shown: it keeps its rectangle and those of its children, and
// reports size changes to the window as the ports do.
class RecordingGameHost final : public GameWindowHost {
 public:
  RecordingGameHost(PreviewPictures& pictures, GameRect workArea)
      : pictures_(pictures), workArea_(workArea) {}

  void Attach(GameWindow* window) { window_ = window; }
  const std::vector<GameRect>& buttonRects() const { return buttonRects_; }
  const std::optional<GameRect>& browser() const { return browser_; }

  // Sizes the window by its border, as a player's drag does.
  void SizeBy(GameSize size) {
    GameRect proposed{rect_.left, rect_.top, SaturatedAdd(rect_.left, size.width),
                      SaturatedAdd(rect_.top, size.height)};
    window_->OnSizing(proposed);
    MoveWindow(proposed);
  }

  GameRect WorkArea() override { return workArea_; }
  GameRect MonitorRect() override { return workArea_; }
  GameRect WindowRect() override { return rect_; }
  GameRect NormalWindowRect() override { return rect_; }
  GameRect ClientRectOnScreen() override { return rect_; }
  GamePoint CursorPosition() override { return {}; }
  std::string ProgramPath() override { return {}; }

  void SetWindowText(const std::string&) override {}
  bool LoadSprite() override { return pictures_.PictureSize(kSpriteEntry).has_value(); }
  bool CutEdgePiece(EdgePiece piece, const SpriteCut& source) override {
    return pictures_.CutEdgePiece(piece, source);
  }
  void ReleaseSprite() override {}
  bool CreateBrowser(const GameRect& inWindow) override {
    browser_ = inWindow;
    return true;
  }
  void StartBrowser(const std::string&) override {}
  bool CreateTitleButton(const TitleButtonSetup& setup) override {
    buttonRects_.push_back({0, 0, setup.size.width, setup.size.height});
    return true;
  }
  bool CreateLogo(GamePoint, GameSize& size) override {
    const std::optional<GameSize> logo = pictures_.PictureSize(kLogoEntry);
    if (!logo) return false;
    size = *logo;
    return true;
  }
  void ShowInTaskbar() override {}

  void MoveWindow(const GameRect& rect) override {
    const bool resized = rect.width() != rect_.width() || rect.height() != rect_.height();
    rect_ = rect;
    if (resized && window_) window_->OnSize(false);
  }
  void PlaceWindow(const GameRect& rect, GameWindowState) override { MoveWindow(rect); }
  void HideWhilePlacing() override {}
  void HideWindow() override {}
  void ShowWindow() override {}
  void MinimizeWindow() override {}
  void InvalidateWindow() override {}
  void BeginSizing(int, GamePoint) override {}

  void MoveBrowser(const GameRect& inWindow) override { browser_ = inWindow; }
  void RedrawBrowser() override {}
  void MoveButton(size_t slot, const GameRect& inWindow) override {
    if (slot < buttonRects_.size()) buttonRects_[slot] = inWindow;
  }
  void SetButtonVisible(size_t, bool) override {}
  GameRect ButtonRectOnScreen(size_t) override { return {}; }
  void SetButtonLink(size_t, const std::string&) override {}
  void SetLogoVisible(bool) override {}

  bool AskOkCancel(const std::string&, const std::string&) override { return false; }
  void PopupMenu(const std::vector<MenuItem>&, GamePoint) override {}
  bool AddTrayIcon(const TrayIconSetup&) override { return false; }
  void RemoveTrayIcon() override {}
  void CleanBrowserCache() override {}
  void StartProgram() override {}
  void CallPage(const PageCall&) override {}
  void EndDialog() override {}

 private:
  PreviewPictures& pictures_;
  GameRect workArea_;
  GameRect rect_;
  GameWindow* window_ = nullptr;
  std::vector<GameRect> buttonRects_;
  std::optional<GameRect> browser_;
};

}  // namespace

LauncherScene ComposeLauncherScene(const ConfigRecord& config, PreviewPictures& pictures) {
  LauncherScene scene;
  scene.placeholderColor = config.loginCenterColor;
  if (const std::optional<GameSize> size = pictures.PictureSize(kBackgroundEntry)) {
    scene.size = *size;
    scene.background = true;
  }
  RecordingOverlay overlay(pictures, scene);
  BuildOverlayControls(BuildLauncherPlan(config), scene.size.width, scene.size.height, overlay);
  return scene;
}

GameScene ComposeGameScene(const ConfigRecord& config, std::optional<GameSize> size,
                           PreviewState state, PreviewPictures& pictures) {
  const GameSize area = size.value_or(kDefaultPreviewSize);
  RecordingGameHost host(pictures, {0, 0, area.width, area.height});
  GameWindow window(config, host, '/');
  host.Attach(&window);

  GameScene scene;
  scene.stop = window.Initialize();
  if (scene.stop != GameInitStop::kNone) {
    // What was made is put in place once, for the window's size at the stop.
    window.LayoutChildren();
  } else if (state == PreviewState::kRestored) {
    window.RestoreWindow();
    if (size) host.SizeBy(*size);
  }

  const GameRect rect = host.WindowRect();
  scene.size = {rect.width(), rect.height()};
  scene.maximized = window.maximized();
  scene.edges = window.edges();
  scene.paint = window.PaintPlan(false, scene.size, {});
  for (size_t slot = 0; slot < window.buttonCount(); ++slot)
    scene.buttons.push_back(
        {window.button(slot), host.buttonRects()[slot], window.ButtonVisible(slot)});
  if (window.LogoVisible()) scene.logo = window.LogoRect();
  scene.browser = host.browser();
  return scene;
}

}  // namespace mc
