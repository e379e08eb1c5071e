// Rules the launcher windows of both ports share beyond the control plan: where a control may
// lie, which navigations are game entries, and the caption of the close question.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "launcher/launcher_plan.h"

namespace mc {

struct ControlRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const ControlRect&) const = default;
};

// The part of a control of the given size at (x, y) that lies on the launcher picture. Link
// records may hold any 32-bit numbers; a control is never larger than the picture, never of
// negative size, and one entirely off the picture gets size 0 at the nearest edge. Keeps a
// misplaced control from enlarging the window or making a web view of gigabytes.
ControlRect FitOnPicture(int x, int y, int width, int height, int pictureWidth,
                         int pictureHeight);

// Every html area loads "about:blank" first while it is prepared. That page is neither a game
// entry (with an empty marker, which matches every address, the launcher would otherwise close
// before its page was even asked for) nor the first page (the areas would show blank instead of
// the placeholder colour while the real page loads).
bool IsPreparationPage(std::string_view url);

// The game address of a navigation of the first html area, or nullopt.
std::optional<std::string> CaptureLauncherNavigation(std::string_view url,
                                                     std::string_view gameheader);

// The first html area's navigations: the game address is captured once; after that every
// navigation of the area is cancelled, since the launcher is closing. Its first real page
// reveals the areas.
class GameAddressCapture {
 public:
  struct Verdict {
    bool cancel = false;
    std::optional<std::string> address;  // set once: close the launcher with it
  };
  Verdict OnBeforeNavigate(int controlId, std::string_view url, std::string_view gameheader);
  // True for the first completed real page of the first area.
  bool OnDocumentComplete(int controlId, std::string_view url);
  bool pageLoaded() const { return tracker_.pageLoaded(); }

 private:
  bool captured_ = false;
  FirstPageTracker tracker_;
};

}  // namespace mc
