#include "game/gtk/game_prompts.h"

#include "package/gtk/gbk_utf8.h"

namespace mc::gtk {
namespace {

constexpr char kItemIdKey[] = "mc-menu-id";

}  // namespace

GamePopupMenu::~GamePopupMenu() { Close(); }

void GamePopupMenu::Close() {
  if (!menu_) return;
  g_signal_handlers_disconnect_by_data(menu_.get(), this);
  gtk_menu_popdown(menu_.get());
  gtk_widget_destroy(GTK_WIDGET(menu_.get()));
  menu_.reset();
}

bool GamePopupMenu::Show(const std::vector<MenuItem>& items, GdkWindow* relativeTo, GamePoint at,
                         const GdkEvent* trigger, Choose choose) {
  Close();
  choose_ = std::move(choose);
  menu_ = GObjectPtr<GtkMenu>::Ref(GTK_MENU(gtk_menu_new()));
  for (const MenuItem& item : items) {
    GtkWidget* entry = gtk_menu_item_new_with_label(GbkToUtf8(item.text).c_str());
    g_object_set_data(G_OBJECT(entry), kItemIdKey, GINT_TO_POINTER(item.id));
    g_signal_connect(entry, "activate", G_CALLBACK(OnActivate), this);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu_.get()), entry);
    gtk_widget_show(entry);
  }
  const GdkRectangle rect{at.x, at.y, 1, 1};
  GdkEvent* current = trigger ? nullptr : gtk_get_current_event();
  gtk_menu_popup_at_rect(menu_.get(), relativeTo, &rect, GDK_GRAVITY_NORTH_WEST,
                         GDK_GRAVITY_NORTH_WEST, trigger ? trigger : current);
  if (current) gdk_event_free(current);
  return gtk_widget_get_visible(GTK_WIDGET(menu_.get()));
}

void GamePopupMenu::OnActivate(GtkMenuItem* item, gpointer self) {
  auto* menu = static_cast<GamePopupMenu*>(self);
  if (menu->choose_) menu->choose_(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), kItemIdKey)));
}

}  // namespace mc::gtk
