#include "game/gtk/status_notifier_item.h"

#include <unistd.h>

#include <utility>

#include "package/gtk/gbk_utf8.h"
#include "platform/gtk/callback_guard.h"

namespace mc::gtk {
namespace {

constexpr char kWatcherName[] = "org.kde.StatusNotifierWatcher";
constexpr char kWatcherPath[] = "/StatusNotifierWatcher";
constexpr char kItemInterface[] = "org.kde.StatusNotifierItem";
constexpr char kItemPath[] = "/StatusNotifierItem";
constexpr char kMenuInterface[] = "com.canonical.dbusmenu";
constexpr char kMenuPath[] = "/MenuBar";
constexpr char kFallbackIconName[] = "application-x-executable";
// A bus that does not answer within this time has no notification area worth waiting for.
constexpr int kCallTimeoutMs = 2000;
constexpr guint32 kNameDoNotQueue = 4;
constexpr guint32 kNamePrimaryOwner = 1, kNameAlreadyOwner = 4;

constexpr char kInterfacesXml[] = R"xml(<node>
  <interface name="org.kde.StatusNotifierItem">
    <property name="Category" type="s" access="read"/>
    <property name="Id" type="s" access="read"/>
    <property name="Title" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="WindowId" type="i" access="read"/>
    <property name="IconName" type="s" access="read"/>
    <property name="IconPixmap" type="a(iiay)" access="read"/>
    <property name="OverlayIconName" type="s" access="read"/>
    <property name="AttentionIconName" type="s" access="read"/>
    <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
    <property name="ItemIsMenu" type="b" access="read"/>
    <property name="Menu" type="o" access="read"/>
    <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
    <signal name="NewTitle"/>
    <signal name="NewIcon"/>
    <signal name="NewToolTip"/>
    <signal name="NewStatus"><arg name="status" type="s"/></signal>
  </interface>
  <interface name="com.canonical.dbusmenu">
    <property name="Version" type="u" access="read"/>
    <property name="TextDirection" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="IconThemePath" type="as" access="read"/>
    <method name="GetLayout">
      <arg name="parentId" type="i" direction="in"/><arg name="recursionDepth" type="i" direction="in"/>
      <arg name="propertyNames" type="as" direction="in"/>
      <arg name="revision" type="u" direction="out"/><arg name="layout" type="(ia{sv}av)" direction="out"/>
    </method>
    <method name="GetGroupProperties">
      <arg name="ids" type="ai" direction="in"/><arg name="propertyNames" type="as" direction="in"/>
      <arg name="properties" type="a(ia{sv})" direction="out"/>
    </method>
    <method name="GetProperty">
      <arg name="id" type="i" direction="in"/><arg name="name" type="s" direction="in"/>
      <arg name="value" type="v" direction="out"/>
    </method>
    <method name="Event">
      <arg name="id" type="i" direction="in"/><arg name="eventId" type="s" direction="in"/>
      <arg name="data" type="v" direction="in"/><arg name="timestamp" type="u" direction="in"/>
    </method>
    <method name="EventGroup">
      <arg name="events" type="a(isvu)" direction="in"/><arg name="idErrors" type="ai" direction="out"/>
    </method>
    <method name="AboutToShow">
      <arg name="id" type="i" direction="in"/><arg name="needUpdate" type="b" direction="out"/>
    </method>
    <method name="AboutToShowGroup">
      <arg name="ids" type="ai" direction="in"/>
      <arg name="updatesNeeded" type="ai" direction="out"/><arg name="idErrors" type="ai" direction="out"/>
    </method>
    <signal name="ItemsPropertiesUpdated">
      <arg name="updatedProps" type="a(ia{sv})"/><arg name="removedProps" type="a(ias)"/>
    </signal>
    <signal name="LayoutUpdated"><arg name="revision" type="u"/><arg name="parent" type="i"/></signal>
    <signal name="ItemActivationRequested"><arg name="id" type="i"/><arg name="timestamp" type="u"/></signal>
  </interface>
</node>)xml";

// The session bus, only when one exists: asked for a bus that is not there, GIO would start a
// bus of its own (autolaunch) that outlives the program. A bus that goes away must not end the
// game (GIO's shared connections end the program by default).
GObjectPtr<GDBusConnection> SessionBus() {
  gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  const bool exists = address && !g_str_has_prefix(address, "autolaunch:");
  g_free(address);
  if (!exists) return {};
  GObjectPtr<GDBusConnection> bus =
      GObjectPtr<GDBusConnection>::Adopt(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
  if (bus) g_dbus_connection_set_exit_on_close(bus.get(), FALSE);
  return bus;
}

// A call to the bus itself, answered with one value of `type`; null when it failed.
GVariant* CallBus(GDBusConnection* bus, const char* method, GVariant* parameters,
                  const char* type) {
  return g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus", method, parameters,
                                     G_VARIANT_TYPE(type), G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs,
                                     nullptr, nullptr);
}

bool WatcherPresent(GDBusConnection* bus) {
  GVariant* reply = CallBus(bus, "NameHasOwner", g_variant_new("(s)", kWatcherName), "(b)");
  if (!reply) return false;
  gboolean present = FALSE;
  g_variant_get(reply, "(b)", &present);
  g_variant_unref(reply);
  return present;
}

bool OwnName(GDBusConnection* bus, const std::string& name) {
  GVariant* reply = CallBus(bus, "RequestName",
                            g_variant_new("(su)", name.c_str(), kNameDoNotQueue), "(u)");
  if (!reply) return false;
  guint32 result = 0;
  g_variant_get(reply, "(u)", &result);
  g_variant_unref(reply);
  return result == kNamePrimaryOwner || result == kNameAlreadyOwner;
}

GVariant* NoIconPixmaps() { return g_variant_new_array(G_VARIANT_TYPE("(iiay)"), nullptr, 0); }

void NoProperty(GError** error, const char* property) {
  g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "no property %s", property);
}

void ReturnUnknown(GDBusMethodInvocation* invocation, const char* what) {
  g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.DBus.Error.InvalidArgs",
                                             what);
}

// The menu has two items, and hosts ask for a handful at a time. A longer list is refused
// unread: a million ids would be answered with a million copies of the item, and a storm of
// events with as many commands.
constexpr gsize kMaxMenuRequestItems = 16;

// Whether the list that is the call's first argument is longer than that.
bool TooManyItems(GVariant* parameters) {
  GVariant* list = g_variant_get_child_value(parameters, 0);
  const bool tooMany = g_variant_n_children(list) > kMaxMenuRequestItems;
  g_variant_unref(list);
  return tooMany;
}

void ReturnTooMany(GDBusMethodInvocation* invocation) {
  g_dbus_method_invocation_return_dbus_error(
      invocation, "org.freedesktop.DBus.Error.LimitsExceeded", "too many menu items in one call");
}

}  // namespace

StatusNotifierItem::~StatusNotifierItem() {
  Remove();
  if (interfaces_) g_dbus_node_info_unref(interfaces_);
}

bool StatusNotifierItem::Show(GdkPixbuf* icon, const TrayIconSetup& setup, TrayEvents events) {
  if (shown()) return true;
  // The connection is kept while the item object lives: dropped, it would close with the
  // answers to the host's last calls still unsent.
  if (!bus_ || g_dbus_connection_is_closed(bus_.get())) bus_ = SessionBus();
  if (!bus_ || !WatcherPresent(bus_.get())) return false;
  setup_ = setup;
  events_ = std::move(events);
  title_ = GbkToUtf8(setup.tip);
  menuLabel_ = TrayMenuLabel(GbkToUtf8(setup.closeItem.text));
  pixels_.clear();
  width_ = height_ = 0;
  if (icon) {
    pixels_ = StatusIconPixels(gdk_pixbuf_read_pixels(icon), gdk_pixbuf_get_width(icon),
                               gdk_pixbuf_get_height(icon),
                               static_cast<size_t>(gdk_pixbuf_get_rowstride(icon)),
                               gdk_pixbuf_get_n_channels(icon));
    if (!pixels_.empty()) {
      width_ = gdk_pixbuf_get_width(icon);
      height_ = gdk_pixbuf_get_height(icon);
    }
  }
  if (!Export()) {
    Remove();
    return false;
  }
  // The watcher learns of the item from its name; when the watcher leaves, so does the icon.
  registering_ = GObjectPtr<GCancellable>::Adopt(g_cancellable_new());
  g_dbus_connection_call(bus_.get(), kWatcherName, kWatcherPath, kWatcherName,
                         "RegisterStatusNotifierItem", g_variant_new("(s)", busName_.c_str()),
                         nullptr, G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, registering_.get(),
                         OnRegistered, this);
  watcherWatch_ = g_bus_watch_name_on_connection(bus_.get(), kWatcherName,
                                                 G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr,
                                                 OnWatcherVanished, this, nullptr);
  return true;
}

bool StatusNotifierItem::Export() {
  if (!interfaces_) interfaces_ = g_dbus_node_info_new_for_xml(kInterfacesXml, nullptr);
  if (!interfaces_) return false;
  static constexpr GDBusInterfaceVTable kItem{OnItemCall, OnItemProperty, nullptr, {}};
  static constexpr GDBusInterfaceVTable kMenu{OnMenuCall, OnMenuProperty, nullptr, {}};
  GDBusConnection* bus = bus_.get();
  itemObject_ = g_dbus_connection_register_object(
      bus, kItemPath, g_dbus_node_info_lookup_interface(interfaces_, kItemInterface), &kItem, this,
      nullptr, nullptr);
  menuObject_ = g_dbus_connection_register_object(
      bus, kMenuPath, g_dbus_node_info_lookup_interface(interfaces_, kMenuInterface), &kMenu, this,
      nullptr, nullptr);
  if (!itemObject_ || !menuObject_) return false;
  // One icon a process: the name the watcher knows it by, given up when the icon goes.
  const std::string name = "org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-1";
  if (!OwnName(bus, name)) return false;
  busName_ = name;
  return true;
}

void StatusNotifierItem::Remove() {
  if (registering_) g_cancellable_cancel(registering_.get());
  registering_.reset();
  if (watcherWatch_) g_bus_unwatch_name(watcherWatch_);
  watcherWatch_ = 0;
  if (bus_) {
    if (itemObject_) g_dbus_connection_unregister_object(bus_.get(), itemObject_);
    if (menuObject_) g_dbus_connection_unregister_object(bus_.get(), menuObject_);
    if (!busName_.empty())
      g_dbus_connection_call(bus_.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                             "org.freedesktop.DBus", "ReleaseName",
                             g_variant_new("(s)", busName_.c_str()), nullptr,
                             G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, nullptr, nullptr);
  }
  itemObject_ = menuObject_ = 0;
  busName_.clear();
  events_ = {};
}

void StatusNotifierItem::Lost() {
  if (shown() && events_.lost) events_.lost();
}

void StatusNotifierItem::OnRegistered(GObject* bus, GAsyncResult* result, gpointer self) {
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &error);
  if (reply) {
    g_variant_unref(reply);
    return;
  }
  // A cancelled call belongs to an icon already removed, perhaps already destroyed.
  const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
  g_error_free(error);
  if (!cancelled) Guarded([&] { static_cast<StatusNotifierItem*>(self)->Lost(); });
}

void StatusNotifierItem::OnWatcherVanished(GDBusConnection*, const gchar*, gpointer self) {
  Guarded([&] { static_cast<StatusNotifierItem*>(self)->Lost(); });
}

// --- The item ------------------------------------------------------------------------------

void StatusNotifierItem::OnItemCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                    const gchar* method, GVariant*,
                                    GDBusMethodInvocation* invocation, gpointer data) {
  auto* self = static_cast<StatusNotifierItem*>(data);
  const std::string name = method;
  // Activation is a left click; a host that draws no menu of its own asks for ours as a right
  // click would. Middle clicks and scrolling do nothing, as on Windows.
  unsigned mouseMessage = 0;
  if (name == "Activate") mouseMessage = kTrayLeftButtonUp;
  if (name == "ContextMenu") mouseMessage = kTrayRightButtonUp;
  if (mouseMessage && self->events_.mouse)
    Guarded([&] { self->events_.mouse(mouseMessage); });
  g_dbus_method_invocation_return_value(invocation, nullptr);
}

GVariant* StatusNotifierItem::OnItemProperty(GDBusConnection*, const gchar*, const gchar*,
                                             const gchar*, const gchar* property,
                                             GError** error, gpointer self) {
  GVariant* value = Guarded(
      [&] { return static_cast<StatusNotifierItem*>(self)->ItemProperty(property); }, nullptr);
  if (!value) NoProperty(error, property);
  return value;
}

GVariant* StatusNotifierItem::ItemProperty(const std::string& name) const {
  if (name == "Category") return g_variant_new_string("ApplicationStatus");
  if (name == "Id") return g_variant_new_string("microclient");
  if (name == "Title") return g_variant_new_string(title_.c_str());
  if (name == "Status") return g_variant_new_string("Active");
  if (name == "WindowId") return g_variant_new_int32(0);
  if (name == "IconName") return g_variant_new_string(pixels_.empty() ? kFallbackIconName : "");
  if (name == "OverlayIconName" || name == "AttentionIconName") return g_variant_new_string("");
  if (name == "ItemIsMenu") return g_variant_new_boolean(FALSE);
  if (name == "Menu") return g_variant_new_object_path(kMenuPath);
  if (name == "IconPixmap") {
    if (pixels_.empty()) return NoIconPixmaps();
    GVariant* bytes =
        g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, pixels_.data(), pixels_.size(), 1);
    GVariant* pixmap = g_variant_new("(ii@ay)", width_, height_, bytes);
    return g_variant_new_array(G_VARIANT_TYPE("(iiay)"), &pixmap, 1);
  }
  if (name == "ToolTip")
    return g_variant_new("(s@a(iiay)ss)", "", NoIconPixmaps(), title_.c_str(), "");
  return nullptr;
}

// --- The menu: a root (id 0) holding the one item (id 1) ----------------------------------

GVariant* StatusNotifierItem::MenuProperties(int32_t id) const {
  GVariantBuilder properties;
  g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
  if (id == kTrayMenuRootId) {
    g_variant_builder_add(&properties, "{sv}", "children-display",
                          g_variant_new_string("submenu"));
  } else {
    g_variant_builder_add(&properties, "{sv}", "label", g_variant_new_string(menuLabel_.c_str()));
    g_variant_builder_add(&properties, "{sv}", "enabled", g_variant_new_boolean(TRUE));
    g_variant_builder_add(&properties, "{sv}", "visible", g_variant_new_boolean(TRUE));
  }
  return g_variant_builder_end(&properties);
}

GVariant* StatusNotifierItem::MenuLayout(int32_t id, int32_t depth) const {
  GVariantBuilder children;
  g_variant_builder_init(&children, G_VARIANT_TYPE("av"));
  if (id == kTrayMenuRootId && depth != 0)
    g_variant_builder_add(&children, "v", MenuLayout(kTrayMenuItemId, depth - 1));
  return g_variant_new("(i@a{sv}@av)", id, MenuProperties(id), g_variant_builder_end(&children));
}

bool StatusNotifierItem::MenuEvent(int32_t id, const char* eventId) {
  if (id != kTrayMenuRootId && id != kTrayMenuItemId) return false;
  if (const std::optional<int> command = TrayMenuCommand(setup_, id, eventId))
    if (events_.command) events_.command(*command);
  return true;
}

void StatusNotifierItem::OnMenuCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                    const gchar* method, GVariant* parameters,
                                    GDBusMethodInvocation* invocation, gpointer data) {
  auto* self = static_cast<StatusNotifierItem*>(data);
  const std::string name = method;
  const auto known = [](int32_t id) { return id == kTrayMenuRootId || id == kTrayMenuItemId; };
  Guarded([&] {
    if (name == "GetLayout") {
      gint32 parent = 0, depth = -1;
      g_variant_get(parameters, "(ii^a&s)", &parent, &depth, nullptr);
      if (!known(parent)) return ReturnUnknown(invocation, "no such menu item");
      g_dbus_method_invocation_return_value(
          invocation, g_variant_new("(u@(ia{sv}av))", 1u, self->MenuLayout(parent, depth)));
    } else if (name == "GetGroupProperties") {
      if (TooManyItems(parameters)) return ReturnTooMany(invocation);
      GVariantIter* ids = nullptr;
      g_variant_get(parameters, "(ai^a&s)", &ids, nullptr);
      GVariantBuilder found;
      g_variant_builder_init(&found, G_VARIANT_TYPE("a(ia{sv})"));
      gint32 id = 0;
      if (g_variant_iter_n_children(ids) == 0) {  // no ids asks for every item
        for (gint32 each : {kTrayMenuRootId, kTrayMenuItemId})
          g_variant_builder_add(&found, "(i@a{sv})", each, self->MenuProperties(each));
      }
      while (g_variant_iter_next(ids, "i", &id))
        if (known(id)) g_variant_builder_add(&found, "(i@a{sv})", id, self->MenuProperties(id));
      g_variant_iter_free(ids);
      g_dbus_method_invocation_return_value(invocation,
                                            g_variant_new("(@a(ia{sv}))", g_variant_builder_end(&found)));
    } else if (name == "GetProperty") {
      gint32 id = 0;
      const gchar* property = nullptr;
      g_variant_get(parameters, "(i&s)", &id, &property);
      GVariant* properties = known(id) ? g_variant_ref_sink(self->MenuProperties(id)) : nullptr;
      GVariant* value =
          properties ? g_variant_lookup_value(properties, property, nullptr) : nullptr;
      if (properties) g_variant_unref(properties);
      if (!value) return ReturnUnknown(invocation, "no such menu item property");
      g_dbus_method_invocation_return_value(invocation, g_variant_new("(v)", value));
      g_variant_unref(value);
    } else if (name == "Event") {
      gint32 id = 0;
      const gchar* event = nullptr;
      g_variant_get(parameters, "(i&svu)", &id, &event, nullptr, nullptr);
      if (!self->MenuEvent(id, event)) return ReturnUnknown(invocation, "no such menu item");
      g_dbus_method_invocation_return_value(invocation, nullptr);
    } else if (name == "EventGroup") {
      if (TooManyItems(parameters)) return ReturnTooMany(invocation);
      GVariantIter* events = nullptr;
      g_variant_get(parameters, "(a(isvu))", &events);
      GVariantBuilder errors;
      g_variant_builder_init(&errors, G_VARIANT_TYPE("ai"));
      gint32 id = 0;
      const gchar* event = nullptr;
      while (g_variant_iter_next(events, "(i&svu)", &id, &event, nullptr, nullptr))
        if (!self->MenuEvent(id, event)) g_variant_builder_add(&errors, "i", id);
      g_variant_iter_free(events);
      g_dbus_method_invocation_return_value(invocation,
                                            g_variant_new("(@ai)", g_variant_builder_end(&errors)));
    } else if (name == "AboutToShow") {
      g_dbus_method_invocation_return_value(invocation, g_variant_new("(b)", FALSE));
    } else if (name == "AboutToShowGroup") {
      if (TooManyItems(parameters)) return ReturnTooMany(invocation);
      g_dbus_method_invocation_return_value(
          invocation, g_variant_new("(@ai@ai)", g_variant_new_array(G_VARIANT_TYPE_INT32, nullptr, 0),
                                    g_variant_new_array(G_VARIANT_TYPE_INT32, nullptr, 0)));
    } else {
      g_dbus_method_invocation_return_dbus_error(
          invocation, "org.freedesktop.DBus.Error.UnknownMethod", "no such method");
    }
  });
}

GVariant* StatusNotifierItem::OnMenuProperty(GDBusConnection*, const gchar*, const gchar*,
                                             const gchar*, const gchar* property,
                                             GError** error, gpointer) {
  const std::string name = property;
  if (name == "Version") return g_variant_new_uint32(3);
  if (name == "TextDirection") return g_variant_new_string("ltr");
  if (name == "Status") return g_variant_new_string("normal");
  if (name == "IconThemePath") return g_variant_new_strv(nullptr, 0);
  NoProperty(error, property);
  return nullptr;
}

}  // namespace mc::gtk
