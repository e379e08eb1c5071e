#include "launcher/launcher_plan.h"

namespace mc {

std::vector<LauncherControl> BuildLauncherPlan(const ConfigRecord& config) {
  std::vector<LauncherControl> plan;
  int nextAreaId = kFirstHtmlAreaId;
  int number = 0;
  for (const LinkEntry& link : config.links) {
    ++number;
    if (IsButtonLinkType(link.type)) {
      plan.push_back({LauncherControl::Kind::kButton, number, link.type,
                      kLauncherButtonIdBase + link.type, link.x, link.y, 0, 0,
                      LinkImageEntry(number, false), LinkImageEntry(number, true), link.url});
    } else if (link.type == link_type::kHtmlArea) {
      plan.push_back({LauncherControl::Kind::kHtmlArea, number, link.type, nextAreaId++, link.x,
                      link.y, link.width, link.height, {}, {}, link.url});
    }
  }
  return plan;
}

std::optional<std::string> CaptureGameAddress(std::string_view url, std::string_view gameheader) {
  const size_t at = url.find(gameheader);
  if (at == std::string_view::npos) return std::nullopt;
  if (at == 0) return std::string(url.substr(gameheader.size()));
  return std::string(url);
}

KeyVerdict FilterOverlayKey(unsigned virtualKey) {
  return virtualKey == kVkReturn || virtualKey == kVkEscape ? KeyVerdict::kDispatch
                                                            : KeyVerdict::kDefault;
}

KeyVerdict FilterBackgroundKey(unsigned virtualKey, bool ctrlDown, bool shiftDown) {
  if (virtualKey == kVkReturn || virtualKey == kVkEscape) return KeyVerdict::kDispatch;
  if (virtualKey >= kVkF1 && virtualKey <= kVkF12) return KeyVerdict::kDiscard;
  if (ctrlDown || shiftDown) return KeyVerdict::kDiscard;
  return KeyVerdict::kDefault;
}

}  // namespace mc
