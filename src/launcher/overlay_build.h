// How the launcher overlay builds its controls, shared by both ports and the package tool's
// preview: one control per plan entry in link order, placed on the background picture, until
// the first one that cannot be made. A button is as large as its normal picture; an html area
// has its configured size; both are cut to the picture.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "launcher/launcher_plan.h"
#include "launcher/launcher_window_rules.h"

namespace mc {

// The native side of the overlay while it builds. Rectangles are on the picture.
class OverlayBuildHost {
 public:
  virtual ~OverlayBuildHost() = default;
  // Reads and decodes a button picture of the package and keeps it for the button being
  // built, as its normal or pressed face; its size goes to width and height. False when the
  // entry is missing (the user has been told) or does not decode.
  virtual bool LoadButtonImage(const std::string& name, bool pressed, int& width, int& height) = 0;
  // A visible button without faces yet.
  virtual bool CreateButton(const LauncherControl& control, const ControlRect& rect) = 0;
  // Gives the button just created the two faces loaded for it, its link and its type tag.
  virtual void FinishButton(const LauncherControl& control) = 0;
  // A hidden html area, which then starts loading its page.
  virtual bool CreateHtmlArea(const LauncherControl& control, const ControlRect& rect) = 0;
  // Until the first page has loaded, this area shows the placeholder colour: called for every
  // area made, so the last one wins.
  virtual void SetPlaceholderArea(const ControlRect& rect) = 0;
};

struct OverlayBuild {
  // Controls made, in plan order. A button whose pressed picture cannot be read stays, without
  // faces, and ends the building.
  size_t made = 0;
  bool stopped = false;  // a control could not be made
};

OverlayBuild BuildOverlayControls(const std::vector<LauncherControl>& plan, int pictureWidth,
                                  int pictureHeight, OverlayBuildHost& host);

}  // namespace mc
