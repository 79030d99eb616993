#!/usr/bin/python3
"""Stand-ins for the desktop's services on a private session bus.

Owns org.kde.StatusNotifierWatcher (a panel that shows tray items),
org.freedesktop.Notifications (a notification server) and
org.freedesktop.portal.Desktop with its Inhibit and Notification interfaces, and prints one
JSON line per call it receives, so that a test reads what the player asked
of the desktop:

  {"call": "RegisterStatusNotifierItem", "service": ":1.5", "path": "/StatusNotifierItem"}
  {"call": "Notify", "id": 1, "replaces_id": 0, "summary": ..., "body": ..., "icon": ..., "actions": [...], "hints": {...}}
  {"call": "CloseNotification", "id": 1}
  {"call": "Inhibit", "flags": 4, "reason": ..., "handle": "/org/freedesktop/portal/desktop/request/..."}
  {"call": "Close", "handle": ...}
  {"call": "AddNotification", "id": "song", "title": ..., "body": ..., "buttons": [...]}

A test clicks a notification's button by calling
io.github.quillora.Tests.InvokeAction(id, key) on the notification server
or the portal, which then emits its ActionInvoked. Prints {"ready": true} once every name is owned. Runs until killed or for
LIFETIME seconds (default 170).

Usage: DBUS_SESSION_BUS_ADDRESS=... desktopstandins.py [LIFETIME] [--only NAME,...]
where NAME is watcher, notifications or portal.
"""

import json
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
NOTIFICATIONS = "org.freedesktop.Notifications"
PORTAL = "org.freedesktop.portal.Desktop"
PORTAL_NOTIFICATION = "org.freedesktop.portal.Notification"
PROPERTIES = "org.freedesktop.DBus.Properties"


def report(**fields):
    print(json.dumps(fields, default=str), flush=True)


def plain(value):
    """A D-Bus value as plain Python for JSON (byte arrays shortened)."""
    if isinstance(value, dbus.Array) and value.signature == "y":
        return f"<{len(value)} bytes>"
    if isinstance(value, (dbus.Dictionary, dict)):
        return {str(k): plain(v) for k, v in value.items()}
    if isinstance(value, (dbus.Array, dbus.Struct, list, tuple)):
        return [plain(v) for v in value]
    if isinstance(value, dbus.Boolean):
        return bool(value)
    if isinstance(value, (dbus.Int32, dbus.UInt32, dbus.Int64, dbus.UInt64, dbus.Byte, dbus.Int16, dbus.UInt16)):
        return int(value)
    if isinstance(value, dbus.Double):
        return float(value)
    return str(value)


class Watcher(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.items = []

    # dbus-python's own introspection leaves out properties; clients that
    # introspect before they read one (QDBusInterface) need them listed.
    @dbus.service.method("org.freedesktop.DBus.Introspectable", in_signature="", out_signature="s",
                         path_keyword="path", connection_keyword="connection")
    def Introspect(self, path=None, connection=None):
        xml = super().Introspect(path, connection)
        properties = ('<property name="RegisteredStatusNotifierItems" type="as" access="read"/>'
                      '<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>'
                      '<property name="ProtocolVersion" type="i" access="read"/>')
        marker = f'<interface name="{WATCHER}">'
        return xml.replace(marker, marker + properties)

    @dbus.service.method(WATCHER, in_signature="s", out_signature="", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # Items register either a bus name or an object path on their own name.
        name, path = (sender, service) if service.startswith("/") else (service, "/StatusNotifierItem")
        self.items.append(f"{name}{path}")
        report(call="RegisterStatusNotifierItem", service=name, path=path)
        self.StatusNotifierItemRegistered(f"{name}{path}")

    @dbus.service.method(WATCHER, in_signature="s", out_signature="")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                "IsStatusNotifierHostRegistered": dbus.Boolean(True),
                "ProtocolVersion": dbus.Int32(0)}


class Notifications(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.last_id = 0

    @dbus.service.method(NOTIFICATIONS, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout):
        if replaces_id:
            notification = int(replaces_id)
        else:
            self.last_id += 1
            notification = self.last_id
        report(call="Notify", id=notification, replaces_id=int(replaces_id), app_name=str(app_name),
               icon=str(app_icon), summary=str(summary), body=str(body), actions=plain(actions), hints=plain(hints),
               timeout=int(timeout))
        return dbus.UInt32(notification)

    @dbus.service.signal(NOTIFICATIONS, signature="us")
    def ActionInvoked(self, notification, action_key):
        pass

    @dbus.service.method("io.github.quillora.Tests", in_signature="us", out_signature="")
    def InvokeAction(self, notification, action_key):
        self.ActionInvoked(notification, action_key)

    @dbus.service.method(NOTIFICATIONS, in_signature="u", out_signature="")
    def CloseNotification(self, notification):
        report(call="CloseNotification", id=int(notification))

    @dbus.service.method(NOTIFICATIONS, in_signature="", out_signature="as")
    def GetCapabilities(self):
        return ["body", "icon-static", "persistence"]

    @dbus.service.method(NOTIFICATIONS, in_signature="", out_signature="ssss")
    def GetServerInformation(self):
        return ("stand-in", "quillora-tests", "1", "1.2")


class Request(dbus.service.Object):
    @dbus.service.method("org.freedesktop.portal.Request", in_signature="", out_signature="")
    def Close(self):
        report(call="Close", handle=str(self._object_path))
        self.remove_from_connection()


class Portal(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/freedesktop/portal/desktop")
        self.bus = bus
        self.count = 0

    @dbus.service.method("org.freedesktop.portal.Inhibit", in_signature="sua{sv}", out_signature="o",
                         sender_keyword="sender")
    def Inhibit(self, window, flags, options, sender=None):
        self.count += 1
        token = str(options.get("handle_token", f"t{self.count}"))
        caller = sender[1:].replace(".", "_")
        handle = f"/org/freedesktop/portal/desktop/request/{caller}/{token}"
        Request(self.bus, handle)
        report(call="Inhibit", flags=int(flags), window=str(window), reason=str(options.get("reason", "")),
               handle=handle)
        return dbus.ObjectPath(handle)

    @dbus.service.method(PORTAL_NOTIFICATION, in_signature="sa{sv}", out_signature="")
    def AddNotification(self, notification, fields):
        report(call="AddNotification", id=str(notification), **{str(k): plain(v) for k, v in fields.items()})

    @dbus.service.signal(PORTAL_NOTIFICATION, signature="ssav")
    def ActionInvoked(self, notification, action, parameter):
        pass

    @dbus.service.method("io.github.quillora.Tests", in_signature="ss", out_signature="")
    def InvokeAction(self, notification, action):
        self.ActionInvoked(notification, action, dbus.Array([], signature="v"))

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return dbus.UInt32(3)


def main():
    args = sys.argv[1:]
    only = {"watcher", "notifications", "portal"}
    if "--only" in args:
        at = args.index("--only")
        only = set(args[at + 1].split(","))
        del args[at:at + 2]
    lifetime = float(args[0]) if args else 170
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    keep = []
    if "watcher" in only:
        keep.append(dbus.service.BusName(WATCHER, bus, do_not_queue=True))
        keep.append(Watcher(bus))
    if "notifications" in only:
        keep.append(dbus.service.BusName(NOTIFICATIONS, bus, do_not_queue=True))
        keep.append(Notifications(bus))
    if "portal" in only:
        keep.append(dbus.service.BusName(PORTAL, bus, do_not_queue=True))
        keep.append(Portal(bus))
    report(ready=True)
    loop = GLib.MainLoop()
    GLib.timeout_add(int(lifetime * 1000), loop.quit)
    loop.run()


if __name__ == "__main__":
    main()
