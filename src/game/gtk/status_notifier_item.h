// The game window's tray icon where the desktop shows StatusNotifierItems (D-Bus): the item
// (org.kde.StatusNotifierItem) and its one-item menu (com.canonical.dbusmenu), exported on the
// session bus under a name of their own and registered with the desktop's
// org.kde.StatusNotifierWatcher. The notification area draws the icon, the tooltip and the
// menu itself; it reports activation (a left click) and the chosen item. Removing the icon
// gives the name up, which is how a watcher learns that an item is gone. A watcher that
// refuses the item or leaves the bus while the icon is shown reports the icon lost.
#pragma once

#include <gio/gio.h>
#include <gtk/gtk.h>

#include <cstdint>
#include <string>
#include <vector>

#include "game/gtk/tray_events.h"
#include "game/tray_icon.h"
#include "platform/gtk/gobject_ptr.h"

namespace mc::gtk {

class StatusNotifierItem {
 public:
  StatusNotifierItem() = default;
  ~StatusNotifierItem();
  StatusNotifierItem(const StatusNotifierItem&) = delete;
  StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

  // Shows the icon (the picture, or a themed icon without one) with the setup's tooltip and
  // menu item. False, showing nothing, when no watcher is on the session bus or the item
  // cannot be exported; true when it has been offered (a refusal arrives as `lost`).
  bool Show(GdkPixbuf* icon, const TrayIconSetup& setup, TrayEvents events);
  // Removes the icon. Not to be called from inside the icon's own event handling.
  void Remove();
  bool shown() const { return itemObject_ != 0; }

 private:
  static void OnItemCall(GDBusConnection*, const gchar* sender, const gchar* path,
                         const gchar* interface, const gchar* method, GVariant* parameters,
                         GDBusMethodInvocation* invocation, gpointer self);
  static GVariant* OnItemProperty(GDBusConnection*, const gchar* sender, const gchar* path,
                                  const gchar* interface, const gchar* property, GError** error,
                                  gpointer self);
  static void OnMenuCall(GDBusConnection*, const gchar* sender, const gchar* path,
                         const gchar* interface, const gchar* method, GVariant* parameters,
                         GDBusMethodInvocation* invocation, gpointer self);
  static GVariant* OnMenuProperty(GDBusConnection*, const gchar* sender, const gchar* path,
                                  const gchar* interface, const gchar* property, GError** error,
                                  gpointer self);
  static void OnRegistered(GObject* bus, GAsyncResult* result, gpointer self);
  static void OnWatcherVanished(GDBusConnection*, const gchar* name, gpointer self);

  bool Export();
  void Lost();
  GVariant* ItemProperty(const std::string& name) const;
  GVariant* MenuProperties(int32_t id) const;
  GVariant* MenuLayout(int32_t id, int32_t depth) const;
  bool MenuEvent(int32_t id, const char* eventId);

  GObjectPtr<GDBusConnection> bus_;  // kept from the first Show on
  GObjectPtr<GCancellable> registering_;  // cancelled with the icon
  GDBusNodeInfo* interfaces_ = nullptr;   // owned: both interfaces' descriptions
  guint itemObject_ = 0;
  guint menuObject_ = 0;
  guint watcherWatch_ = 0;
  std::string busName_;  // owned while shown
  std::string title_;    // UTF-8
  std::string menuLabel_;  // UTF-8, access-key marks escaped
  int width_ = 0, height_ = 0;
  std::vector<uint8_t> pixels_;  // network-order ARGB
  TrayIconSetup setup_;
  TrayEvents events_;
};

}  // namespace mc::gtk
