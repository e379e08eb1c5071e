#include "game/tray_icon.h"

#include "package/gbk.h"

namespace mc {

TrayIconSetup TrayIconFor(const ConfigRecord& config) {
  TrayIconSetup setup;
  setup.tip = CutToField(config.notityTitle, kTrayTipBytes + 1);
  setup.closeItem = {kCommandCancel, config.notifyCloseTitle};
  return setup;
}

TrayAction TrayActionFor(unsigned iconId, unsigned mouseMessage) {
  if (iconId != kTrayIconId) return TrayAction::kNotOurs;
  switch (mouseMessage) {
    case kTrayLeftButtonUp:
    case kTrayLeftDoubleClick:
      return TrayAction::kShowWindow;
    case kTrayRightButtonUp:
      return TrayAction::kShowMenu;
    default:
      return TrayAction::kNone;
  }
}

std::string TrayMenuLabel(std::string_view text) {
  std::string label;
  label.reserve(text.size());
  for (char c : text) {
    if (c == '_') label += '_';
    label += c;
  }
  return label;
}

std::optional<int> TrayMenuCommand(const TrayIconSetup& setup, int32_t itemId,
                                   std::string_view eventId) {
  if (itemId != kTrayMenuItemId || eventId != "clicked") return std::nullopt;
  return setup.closeItem.id;
}

std::vector<uint8_t> StatusIconPixels(const uint8_t* pixels, int width, int height,
                                      size_t stride, int channels) {
  if (!pixels || width <= 0 || height <= 0 || (channels != 3 && channels != 4) ||
      stride < static_cast<size_t>(width) * static_cast<size_t>(channels))
    return {};
  std::vector<uint8_t> argb;
  argb.reserve(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    const uint8_t* p = pixels + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x, p += channels) {
      argb.push_back(channels == 4 ? p[3] : 0xFF);
      argb.insert(argb.end(), {p[0], p[1], p[2]});
    }
  }
  return argb;
}

}  // namespace mc
