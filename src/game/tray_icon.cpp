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

}  // namespace mc
