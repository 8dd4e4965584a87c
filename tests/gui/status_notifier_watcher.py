#!/usr/bin/python3
"""A StatusNotifierWatcher with a host registered, on the session bus: the notification area of a
desktop without an XEmbed tray (Plasma, GNOME's AppIndicator extension, waybar), as far as a tray
program sees it. Prints "ready", then a line per item that registers: the sender's bus name and
what it registered. Ends on SIGTERM."""
import signal

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
# Qt reads a property only when the object's description names it.
DESCRIPTION = f"""<node><interface name="{WATCHER}">
  <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
</interface></node>"""


class Watcher(dbus.service.Object):
    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        print(sender, service, flush=True)

    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
    def Introspect(self):
        return DESCRIPTION

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if (interface, name) != (WATCHER, "IsStatusNotifierHostRegistered"):
            raise dbus.exceptions.DBusException(f"no property {interface}.{name}")
        return True


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName(WATCHER, bus, do_not_queue=True)
watcher = Watcher(bus, "/StatusNotifierWatcher")
loop = GLib.MainLoop()
signal.signal(signal.SIGTERM, lambda *_: loop.quit())
print("ready", flush=True)
loop.run()
