// Skins are drawn in fixed pixels, and so are the pages and captions made for them: their text
// is laid out at the resolution the pictures were made for, whatever size the desktop gives its
// own text (a "large text" setting raises the screen's font resolution, and toolkits scale
// text and web pages by it).
#pragma once

namespace mc {

inline constexpr double kSkinTextDpi = 96.0;

// The page zoom that undoes a browser's own scaling of pages by the screen's font resolution
// `dpi` (it zooms them by dpi / 96): 1 at 96, and 1 for a resolution that is unknown or no
// screen has (not a number, at most 0, or outside 24..960).
double PageZoomForTextResolution(double dpi);

}  // namespace mc
