#include "base/text_resolution.h"

namespace mc {

double PageZoomForTextResolution(double dpi) {
  constexpr double kLowest = 24, kHighest = 960;
  if (!(dpi >= kLowest && dpi <= kHighest)) return 1.0;  // also false for NaN
  return kSkinTextDpi / dpi;
}

}  // namespace mc
