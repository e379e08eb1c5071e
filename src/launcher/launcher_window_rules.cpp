#include "launcher/launcher_window_rules.h"

#include <algorithm>
#include <cstdint>

namespace mc {
namespace {

// [from, to) of one axis, clipped to [0, extent). 64-bit so that x + width cannot overflow.
void FitAxis(int position, int size, int extent, int& outPosition, int& outSize) {
  extent = std::max(extent, 0);
  const int64_t from = std::clamp<int64_t>(position, 0, extent);
  const int64_t to = std::clamp<int64_t>(int64_t{position} + std::max(size, 0), from, extent);
  outPosition = static_cast<int>(from);
  outSize = static_cast<int>(to - from);
}

}  // namespace

ControlRect FitOnPicture(int x, int y, int width, int height, int pictureWidth,
                         int pictureHeight) {
  ControlRect r;
  FitAxis(x, width, pictureWidth, r.left, r.width);
  FitAxis(y, height, pictureHeight, r.top, r.height);
  return r;
}

bool IsPreparationPage(std::string_view url) { return url == "about:blank"; }

std::optional<std::string> CaptureLauncherNavigation(std::string_view url,
                                                     std::string_view gameheader) {
  if (IsPreparationPage(url)) return std::nullopt;
  return CaptureGameAddress(url, gameheader);
}

GameAddressCapture::Verdict GameAddressCapture::OnBeforeNavigate(int controlId,
                                                                std::string_view url,
                                                                std::string_view gameheader) {
  Verdict verdict;
  if (controlId != kFirstHtmlAreaId) return verdict;
  if (captured_) {
    verdict.cancel = true;
    return verdict;
  }
  verdict.address = CaptureLauncherNavigation(url, gameheader);
  // The game window asks for the address itself; loading it here as well would spend a
  // one-time login ticket in a window that is about to close.
  captured_ = verdict.cancel = verdict.address.has_value();
  return verdict;
}

bool GameAddressCapture::OnDocumentComplete(int controlId, std::string_view url) {
  return controlId == kFirstHtmlAreaId && !IsPreparationPage(url) && tracker_.OnDocumentComplete();
}

}  // namespace mc
