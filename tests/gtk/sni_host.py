#!/usr/bin/python3
"""A notification area of the StatusNotifierItem kind, for the tray tests, on the session bus.

  sni_host.py watch LOG        be the org.kde.StatusNotifierWatcher until killed; LOG gets
                               "ready", then "registered NAME" and "unregistered NAME" lines
  sni_host.py show NAME        the item's properties, one "Key=value" line each
  sni_host.py activate NAME    a left click on the item (Activate)
  sni_host.py menu NAME        the labels of the item's menu, one a line
  sni_host.py click NAME LABEL chooses the menu item with that label (Event "clicked")
  sni_host.py flood NAME ids|events COUNT
                               one GetGroupProperties call with COUNT ids, or one EventGroup
                               call of COUNT "clicked" events on the first item; prints
                               "answered N" (items or errors in the reply) or the D-Bus error
"""
import signal
import sys

from gi.repository import Gio, GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"
XML = """<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
</interface></node>"""


def watch(log_path):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    items = {}  # name -> watch id
    log = open(log_path, "a", buffering=1)

    def vanished(_bus, name):
        Gio.bus_unwatch_name(items.pop(name))
        log.write("unregistered %s\n" % name)
        bus.emit_signal(None, "/StatusNotifierWatcher", WATCHER,
                        "StatusNotifierItemUnregistered", GLib.Variant("(s)", (name,)))

    def call(_bus, sender, _path, _iface, method, params, invocation):
        if method == "RegisterStatusNotifierItem":
            service = params.unpack()[0]
            # A path alone names an item by its sender's connection.
            name = sender if service.startswith("/") else service
            if name not in items:
                items[name] = Gio.bus_watch_name_on_connection(
                    bus, name, Gio.BusNameWatcherFlags.NONE, None, vanished)
                log.write("registered %s\n" % name)
                bus.emit_signal(None, "/StatusNotifierWatcher", WATCHER,
                                "StatusNotifierItemRegistered", GLib.Variant("(s)", (name,)))
        invocation.return_value(None)

    def prop(_bus, _sender, _path, _iface, name):
        return {"RegisteredStatusNotifierItems": GLib.Variant("as", list(items)),
                "IsStatusNotifierHostRegistered": GLib.Variant("b", True),
                "ProtocolVersion": GLib.Variant("i", 0)}.get(name)

    info = Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0]
    bus.register_object("/StatusNotifierWatcher", info, call, prop, None)
    loop = GLib.MainLoop()

    def acquired(*_):
        log.write("ready\n")

    Gio.bus_own_name_on_connection(bus, WATCHER, Gio.BusNameOwnerFlags.NONE, acquired,
                                   lambda *_: loop.quit())
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, loop.quit)
    loop.run()


def call(name, path, iface, method, args, reply=None, timeout_ms=5000):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    result = bus.call_sync(name, path, iface, method, args,
                           GLib.VariantType(reply) if reply else None,
                           Gio.DBusCallFlags.NONE, timeout_ms, None)
    return result.unpack() if result else None


def item_properties(name):
    return call(name, "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "GetAll",
                GLib.Variant("(s)", (ITEM,)), "(a{sv})")[0]


def menu_items(name):
    menu = item_properties(name)["Menu"]
    _, (_, _, children) = call(name, menu, MENU, "GetLayout",
                               GLib.Variant("(iias)", (0, -1, [])), "(u(ia{sv}av))")
    return menu, [(child[0], child[1].get("label", "")) for child in children]


def main():
    command, args = sys.argv[1], sys.argv[2:]
    if command == "watch":
        watch(args[0])
    elif command == "show":
        props = item_properties(args[0])
        tip = props["ToolTip"]
        icons = props["IconPixmap"]
        print("Title=%s" % props["Title"])
        print("Status=%s" % props["Status"])
        print("ToolTip=%s" % tip[2])
        # Each picture: its size and whether its bytes fill it (4 a pixel).
        print("IconPixmap=%s" % " ".join("%dx%d:%s" % (w, h, "ok" if len(data) == 4 * w * h else "bad")
                                         for w, h, data in icons))
        print("IconName=%s" % props["IconName"])
        print("ItemIsMenu=%s" % props["ItemIsMenu"])
        print("Menu=%s" % props["Menu"])
    elif command == "activate":
        call(args[0], "/StatusNotifierItem", ITEM, "Activate", GLib.Variant("(ii)", (0, 0)))
    elif command == "menu":
        for _, label in menu_items(args[0])[1]:
            print(label.replace("__", "_"))
    elif command == "click":
        menu, items = menu_items(args[0])
        ids = [i for i, label in items if label.replace("__", "_") == args[1]]
        if not ids:
            sys.exit("no menu item %s" % args[1])
        call(args[0], menu, MENU, "AboutToShow", GLib.Variant("(i)", (0,)))
        call(args[0], menu, MENU, "Event",
             GLib.Variant("(isvu)", (ids[0], "clicked", GLib.Variant("i", 0), 0)))
    elif command == "flood":
        menu, items = menu_items(args[0])
        count = int(args[2])
        # A huge message takes a sanitizer build longer than the usual 5 s to read.
        try:
            if args[1] == "ids":
                reply = call(args[0], menu, MENU, "GetGroupProperties",
                             GLib.Variant("(aias)", ([items[0][0]] * count, [])), "(a(ia{sv}))",
                             60000)
            else:
                event = (items[0][0], "clicked", GLib.Variant("i", 0), 0)
                reply = call(args[0], menu, MENU, "EventGroup",
                             GLib.Variant("(a(isvu))", ([event] * count,)), "(ai)", 60000)
            print("answered %d" % len(reply[0]))
        except GLib.Error as error:
            print(Gio.DBusError.get_remote_error(error))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
