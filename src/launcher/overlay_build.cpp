#include "launcher/overlay_build.h"

namespace mc {

namespace {

// False stops the building; `made` counts a button that stays even so.
bool BuildButton(const LauncherControl& control, int pictureWidth, int pictureHeight,
                 OverlayBuildHost& host, size_t& made) {
  int width = 0, height = 0;
  if (!host.LoadButtonImage(control.normalImage, false, width, height)) return false;
  const ControlRect rect =
      FitOnPicture(control.x, control.y, width, height, pictureWidth, pictureHeight);
  if (!host.CreateButton(control, rect)) return false;
  ++made;
  int pressedWidth = 0, pressedHeight = 0;
  if (!host.LoadButtonImage(control.pressedImage, true, pressedWidth, pressedHeight)) return false;
  host.FinishButton(control);
  return true;
}

bool BuildHtmlArea(const LauncherControl& control, int pictureWidth, int pictureHeight,
                   OverlayBuildHost& host, size_t& made) {
  const ControlRect rect = FitOnPicture(control.x, control.y, control.width, control.height,
                                        pictureWidth, pictureHeight);
  if (!host.CreateHtmlArea(control, rect)) return false;
  ++made;
  host.SetPlaceholderArea(rect);
  return true;
}

}  // namespace

OverlayBuild BuildOverlayControls(const std::vector<LauncherControl>& plan, int pictureWidth,
                                  int pictureHeight, OverlayBuildHost& host) {
  OverlayBuild build;
  for (const LauncherControl& control : plan) {
    const bool built = control.kind == LauncherControl::Kind::kButton
                           ? BuildButton(control, pictureWidth, pictureHeight, host, build.made)
                           : BuildHtmlArea(control, pictureWidth, pictureHeight, host, build.made);
    if (!built) {
      build.stopped = true;
      break;
    }
  }
  return build;
}

}  // namespace mc
