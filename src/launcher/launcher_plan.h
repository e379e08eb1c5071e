// What the launcher's overlay is built from: one control per link record, in link order. The
// ports walk this plan and stop at the first control they cannot create, leaving the ones
// before it in place.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/package_layout.h"
#include "package/config_record.h"

namespace mc {

inline constexpr int kLauncherButtonIdBase = 200;  // button id = 200 + link type
inline constexpr int kFirstHtmlAreaId = 150;
inline constexpr int kMinimizeCommand = kLauncherButtonIdBase + link_type::kMinimize;
inline constexpr int kCloseCommand = kLauncherButtonIdBase + link_type::kClose;

// Colour key of the overlay: pure green never shows.
inline constexpr unsigned kOverlayColorKey = 0x00FF00;

struct LauncherControl {
  enum class Kind { kButton, kHtmlArea };
  Kind kind;
  int linkNumber;  // 1-based position among all links
  int linkType;
  int id;
  // Buttons: top-left corner; the size comes from the normal image.
  // Html areas: (x, y) to (x + width, y + height).
  int x, y, width, height;
  std::string normalImage;   // buttons only: "config/%d_n.png"
  std::string pressedImage;  // buttons only: "config/%d_d.png"
  std::string url;           // buttons: as configured; areas: the page to show
};

// Links of types other than 1 to 4 produce nothing but still use up their number.
std::vector<LauncherControl> BuildLauncherPlan(const ConfigRecord& config);

// The game address when a navigation of the first html area carries the marker: the address
// without the marker when it starts with it, the whole address when the marker is further in;
// nullopt when there is no marker. An empty marker matches every address.
std::optional<std::string> CaptureGameAddress(std::string_view url, std::string_view gameheader);

// Key messages seen by the launcher's two windows.
enum class KeyVerdict {
  kDispatch,  // not handled here: goes to its target without dialog-key processing
  kDiscard,   // consumed
  kDefault,   // the normal dialog pre-translation
};
inline constexpr unsigned kVkReturn = 0x0D, kVkEscape = 0x1B, kVkF1 = 0x70, kVkF12 = 0x7B;
KeyVerdict FilterOverlayKey(unsigned virtualKey);
KeyVerdict FilterBackgroundKey(unsigned virtualKey, bool ctrlDown, bool shiftDown);

// Counts DocumentComplete events of the first html area; the first one reveals every area.
class FirstPageTracker {
 public:
  // True exactly once: at the first completed document.
  bool OnDocumentComplete() { return ++count_ == 1; }
  bool pageLoaded() const { return count_ >= 1; }

 private:
  int count_ = 0;
};

}  // namespace mc
