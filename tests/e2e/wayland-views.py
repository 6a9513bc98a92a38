#!/usr/bin/python3
"""What the compositor told a Qt program about its full-screen views, read from the program's
WAYLAND_DEBUG=client log on the standard input. The log may hold several runs of the program one
after another (each starts by binding wl_compositor; other clients in the log bind none): the
last one is read. Prints "run N" (counted from 0), then one line per output the run was told
of, sorted, "X,Y WxH: VIEWS": each view whose surface is on that output and that asked for full
screen there, "asked WxH, drawn WxH" (the compositor's last configure, the program's last window
geometry), or "none". Prints nothing before the first run."""
import re
import sys

log = sys.stdin.read()
starts = [m.start() for m in re.finditer(r'-> wl_registry@\d+\.bind\(\d+, "wl_compositor"', log)]
if not starts:
    sys.exit(0)
print("run", len(starts) - 1)
log = log[starts[-1]:]

outputs = {}     # wl_output id: [x, y, width, height]
surfaces = {}    # xdg_surface id: wl_surface id
toplevels = {}   # xdg_toplevel id: {"xdg": id, "on": output asked, "asked": size, "drawn": size}
entered = {}     # wl_surface id: set of outputs
for line in log.splitlines():
    m = re.search(r'wl_output@(\d+)\.geometry\((-?\d+), (-?\d+),', line)
    if m:
        outputs.setdefault(m[1], [0, 0, 0, 0])[0:2] = [int(m[2]), int(m[3])]
        continue
    m = re.search(r'wl_output@(\d+)\.mode\((\d+), (\d+), (\d+),', line)
    if m and int(m[2]) & 1:  # the current mode
        outputs.setdefault(m[1], [0, 0, 0, 0])[2:4] = [int(m[3]), int(m[4])]
        continue
    m = re.search(r'-> xdg_wm_base@\d+\.get_xdg_surface\(new id xdg_surface@(\d+), wl_surface@(\d+)\)', line)
    if m:
        surfaces[m[1]] = m[2]
        continue
    m = re.search(r'-> xdg_surface@(\d+)\.get_toplevel\(new id xdg_toplevel@(\d+)\)', line)
    if m:
        toplevels[m[2]] = {"xdg": m[1], "on": None, "asked": None, "drawn": None}
        continue
    m = re.search(r'-> xdg_toplevel@(\d+)\.set_fullscreen\(wl_output@(\d+)\)', line)
    if m and m[1] in toplevels:
        toplevels[m[1]]["on"] = m[2]
        continue
    m = re.search(r'-> xdg_toplevel@(\d+)\.destroy\(\)', line)
    if m:
        toplevels.pop(m[1], None)
        continue
    m = re.search(r'xdg_toplevel@(\d+)\.configure\((\d+), (\d+),', line)
    if m and m[1] in toplevels and int(m[2]) > 0:
        toplevels[m[1]]["asked"] = "%sx%s" % (m[2], m[3])
        continue
    m = re.search(r'-> xdg_surface@(\d+)\.set_window_geometry\(-?\d+, -?\d+, (\d+), (\d+)\)', line)
    if m:
        for toplevel in toplevels.values():
            if toplevel["xdg"] == m[1]:
                toplevel["drawn"] = "%sx%s" % (m[2], m[3])
        continue
    m = re.search(r'wl_surface@(\d+)\.(enter|leave)\(wl_output@(\d+)\)', line)
    if m:
        on = entered.setdefault(m[1], set())
        (on.add if m[2] == "enter" else on.discard)(m[3])

lines = []
for output, (x, y, width, height) in outputs.items():
    views = ["asked %s, drawn %s" % (t["asked"], t["drawn"]) for t in toplevels.values()
             if t["on"] == output and output in entered.get(surfaces.get(t["xdg"]), ())]
    lines.append("%d,%d %dx%d: %s" % (x, y, width, height, "; ".join(views) or "none"))
print("\n".join(sorted(lines)))
