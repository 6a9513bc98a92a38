#!/usr/bin/python3
"""A stand-in for Plasma's power-management policy agent on the session bus: it keeps the
inhibitions it is given (AddInhibition, ReleaseInhibition), answers HasInhibition and announces
each change with InhibitionsChanged, as Plasma's own does, and lists them (ListInhibitions).
Prints "ready" once it serves, then "added TYPES APP: REASON" and "released COOKIE" as they come.
With --never-answer it takes every call and answers none, as a hung agent would."""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

AGENT = "org.kde.Solid.PowerManagement.PolicyAgent"
NEVER_ANSWER = "--never-answer" in sys.argv[1:]


class PolicyAgent(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/kde/Solid/PowerManagement/PolicyAgent")
        self.held = {}  # cookie: (types, app)
        self.next_cookie = 1

    @dbus.service.method(AGENT, in_signature="uss", out_signature="u")
    def AddInhibition(self, types, app, reason):
        cookie = self.next_cookie
        self.next_cookie += 1
        self.held[cookie] = (int(types), str(app), str(reason))
        print("added %d %s: %s" % (types, app, reason), flush=True)
        self.InhibitionsChanged([(app, reason)], [])
        return cookie

    @dbus.service.method(AGENT, in_signature="u")
    def ReleaseInhibition(self, cookie):
        if cookie in self.held:
            _, app, _ = self.held.pop(cookie)
            print("released %d" % cookie, flush=True)
            self.InhibitionsChanged([], [app])

    @dbus.service.method(AGENT, in_signature="u", out_signature="b",
                         async_callbacks=("answer", "fail"))
    def HasInhibition(self, types, answer, fail):
        if not NEVER_ANSWER:
            answer(any(held & types for held, _, _ in self.held.values()))

    @dbus.service.method(AGENT, out_signature="a(ss)")
    def ListInhibitions(self):
        return [(app, reason) for _, app, reason in self.held.values()]

    @dbus.service.signal(AGENT, signature="a(ss)as")
    def InhibitionsChanged(self, added, removed):
        pass


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName(AGENT, bus)
agent = PolicyAgent(bus)
print("ready", flush=True)
GLib.MainLoop().run()
