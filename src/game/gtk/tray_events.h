// What a tray icon of the Linux port reports to the game window. Every report is made from
// inside the icon's own event handling: the receiver posts it on rather than acting at once.
#pragma once

#include <functional>

namespace mc::gtk {

struct TrayEvents {
  // A mouse action on the icon, as the Windows mouse message it stands for (game/tray_icon.h).
  std::function<void(unsigned mouseMessage)> mouse;
  // An item of a menu that the notification area drew itself was chosen: its command.
  std::function<void(int command)> command;
  // The notification area holding the icon went away or refused it; the icon is gone.
  std::function<void()> lost;
};

}  // namespace mc::gtk
