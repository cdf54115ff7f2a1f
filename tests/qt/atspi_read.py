"""A screen reader's view of the running program through AT-SPI, from another process.

usage: atspi_read.py <form1_layout.cpp> <form2_layout.cpp>

Finds the program's window on the accessibility bus and checks that every caption and picture
of the layout table is there, as a label or an image with its text and its place (twips / 15
from the window's corner), then presses the switch button as a screen reader's user would and
checks the other window the same way. Prints what it found; exits with 1 on any mismatch.
"""
import re
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

ROW = re.compile(
    r'\{"((?:Label|Picture)\d+)",\s*([LP]),\s*"((?:[^"\\]|\\.)*)",\s*(\d+),\s*(\d+),\s*(\d+),'
    r'\s*(\d+),\s*\d+(?:,\s*"((?:[^"\\]|\\.)*)")?'
)


def layout(path):
    """The captions and pictures of a layout table: (role, text, (x, y, width, height))."""
    source = open(path, encoding="utf-8").read()
    px = lambda t: (int(t) + 7) // 15  # noqa: E731
    rows = []
    for name, kind, caption, left, top, width, height, described in ROW.findall(source):
        text = caption.rstrip(" ") if kind == "L" else described
        role = "label" if kind == "L" else "image"
        rows.append((role, text, (px(left), px(top), px(width), px(height))))
    return rows


def window(timeout=30):
    deadline = time.time() + timeout
    while time.time() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is None:
                continue
            for j in range(app.get_child_count()):
                frame = app.get_child_at_index(j)
                if frame is not None and frame.get_name() == "Kalvena" and \
                        frame.get_state_set().contains(Atspi.StateType.SHOWING):
                    return frame
        time.sleep(0.2)
    return None


def seen(frame):
    origin = frame.get_extents(Atspi.CoordType.SCREEN)
    found = []
    for i in range(frame.get_child_count()):
        child = frame.get_child_at_index(i)
        e = child.get_extents(Atspi.CoordType.SCREEN)
        found.append((child.get_role_name(), child.get_name(),
                      (e.x - origin.x, e.y - origin.y, e.width, e.height), child))
    return found


def check(frame, expected, title):
    found = seen(frame)
    print(f"{title}: {frame.get_description()!r}, {len(found)} children")
    for role, name, rect, _ in found:
        print(f"  {role}\t{name}\t{rect}")
    failures = 0
    listed = [(r, n, rect) for r, n, rect, _ in found]
    for want in expected:
        if want not in listed:
            print(f"FAIL: {title}: not found as {want}")
            failures += 1
    return failures, found


def main():
    Atspi.init()
    first, second = layout(sys.argv[1]), layout(sys.argv[2])
    if len(first) < 40 or len(second) < 40:
        print("FAIL: the layout tables were not read")
        return 1
    frame = window()
    if frame is None:
        print("FAIL: no window on the accessibility bus")
        return 1
    failures, found = check(frame, first, "12 dB/oct")
    switch = [c for role, name, _, c in found if role == "push button" and "->" in name]
    if not switch:
        print("FAIL: no switch button")
        return 1
    switch[0].do_action(0)
    time.sleep(1)
    other = window()
    if other is None:
        print("FAIL: the other window did not come")
        return 1
    more, _ = check(other, second, "18 dB/oct")
    return 1 if failures + more else 0


sys.exit(main())
