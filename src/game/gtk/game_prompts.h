// The game window's popup menus on Linux.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/gtk/gobject_ptr.h"
#include "game/game_geometry.h"
#include "game/title_buttons.h"

namespace mc::gtk {

// One popup menu at a time. A chosen item is reported with its id after the menu has closed; a
// dismissed menu reports nothing.
class GamePopupMenu {
 public:
  using Choose = std::function<void(int id)>;

  GamePopupMenu() = default;
  ~GamePopupMenu();
  GamePopupMenu(const GamePopupMenu&) = delete;
  GamePopupMenu& operator=(const GamePopupMenu&) = delete;

  // Opens the menu with its top-left corner at `at`, in the coordinates of `relativeTo` (a
  // shown window, whose popup the menu becomes, or the root window for a screen point).
  // `trigger` is the event that asked for the menu, or nullptr (the menu then takes the
  // current one); a popup takes the pointer with it. Replaces a menu still open. False when
  // the menu could not be opened (no pointer grab).
  bool Show(const std::vector<MenuItem>& items, GdkWindow* relativeTo, GamePoint at,
            const GdkEvent* trigger, Choose choose);
  // The menu on screen, if any (for tests and to close it with the window).
  GtkWidget* menu() const { return menu_ ? GTK_WIDGET(menu_.get()) : nullptr; }
  void Close();

 private:
  static void OnActivate(GtkMenuItem* item, gpointer self);

  GObjectPtr<GtkMenu> menu_;
  Choose choose_;
};

}  // namespace mc::gtk
