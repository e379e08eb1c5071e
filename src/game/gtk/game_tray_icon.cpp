#include "game/gtk/game_tray_icon.h"

#include "package/gtk/gbk_utf8.h"

namespace mc::gtk {

bool GameTrayIcon::Show(GdkPixbuf* icon, const TrayIconSetup& setup, TrayEvents events) {
  if (shown()) return true;
  // The item first: where both exist, the XEmbed tray is usually a bridge to the same panel.
  return item_.Show(icon, setup, events) ||
         xembed_.Show(icon, GbkToUtf8(setup.tip), std::move(events));
}

void GameTrayIcon::Remove() {
  item_.Remove();
  xembed_.Remove();
}

}  // namespace mc::gtk
