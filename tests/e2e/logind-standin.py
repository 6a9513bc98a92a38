#!/usr/bin/python3
"""A stand-in for logind on the bus at DBUS_SYSTEM_BUS_ADDRESS: it names one login session
and, for each line read on its standard input, sends that session's Lock or Unlock ("lock",
"unlock") or the manager's PrepareForSleep ("sleep", "wake"). Prints "ready" once it serves."""
import os
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

SESSION = "/org/freedesktop/login1/session/_31"


class Manager(dbus.service.Object):
    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="s", out_signature="o")
    def GetSession(self, session_id):
        return dbus.ObjectPath(SESSION)

    @dbus.service.signal("org.freedesktop.login1.Manager", signature="b")
    def PrepareForSleep(self, start):
        pass


class Session(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.login1.Session")
    def Lock(self):
        pass

    @dbus.service.signal("org.freedesktop.login1.Session")
    def Unlock(self):
        pass


DBusGMainLoop(set_as_default=True)
bus = dbus.bus.BusConnection(os.environ["DBUS_SYSTEM_BUS_ADDRESS"])
name = dbus.service.BusName("org.freedesktop.login1", bus)
manager = Manager(bus, "/org/freedesktop/login1")
session = Session(bus, SESSION)
loop = GLib.MainLoop()
said = {"lock": session.Lock, "unlock": session.Unlock,
        "sleep": lambda: manager.PrepareForSleep(True),
        "wake": lambda: manager.PrepareForSleep(False)}


def heard(source, condition):
    line = sys.stdin.readline()
    if not line:
        loop.quit()
        return False
    said[line.strip()]()
    return True


GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, heard)
print("ready", flush=True)
loop.run()
