#!/usr/bin/python3
"""Input for a headless mutter's seat, through its remote-desktop service on the session bus.
Reads one command a line until the end of its input: "DX DY" moves the pointer by that much,
"key CODE" presses and releases the key of that evdev code. Prints "ready" once its session
has started; one session serves a whole test, as mutter makes each one a new device."""
import sys

import dbus

bus = dbus.SessionBus()
service = "org.gnome.Mutter.RemoteDesktop"
remote = dbus.Interface(bus.get_object(service, "/org/gnome/Mutter/RemoteDesktop"), service)
session = dbus.Interface(bus.get_object(service, remote.CreateSession()), service + ".Session")
session.Start()
print("ready", flush=True)
try:
    for line in sys.stdin:
        words = line.split()
        if words[:1] == ["key"]:
            session.NotifyKeyboardKeycode(dbus.UInt32(int(words[1])), True)
            session.NotifyKeyboardKeycode(dbus.UInt32(int(words[1])), False)
        elif len(words) == 2:
            session.NotifyPointerMotionRelative(float(words[0]), float(words[1]))
finally:
    session.Stop()
