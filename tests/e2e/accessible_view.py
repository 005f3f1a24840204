#!/usr/bin/python3
"""The program's view as a screen reader sees it over AT-SPI.

Writes the program's accessible tree to TREE_FILE, checks that the view is
named after the file shown and describes the selected byte, then presses
keys as a user does and waits for the events that tell a screen reader what
changed: the caret's byte after an arrow key, the search panel with its
prompt after Ctrl+F.

Usage: accessible_view.py TREE_FILE FILE_NAME FIRST_BYTE SECOND_BYTE
(the bytes as two upper-case hexadecimal digits)
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

LIMIT = 60  # seconds any single wait may take


def fail(message):
    print("accessible_view: " + message, file=sys.stderr)
    sys.exit(1)


def walk(obj, depth=0):
    yield obj, depth
    for child in obj:
        if child is not None:
            yield from walk(child, depth + 1)


def program():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "bytewren":
            return app
    return None


def find_view(deadline):
    while time.monotonic() < deadline:
        app = program()
        if app is not None:
            for obj, _ in walk(app):
                if obj.getRole() == pyatspi.ROLE_DOCUMENT_FRAME:
                    return app, obj
        time.sleep(0.2)
    fail("no view in the program's accessible tree")


def tree_text(app):
    lines = []
    for obj, depth in walk(app):
        line = "  " * depth + "[%s] %r" % (obj.getRoleName(), obj.name)
        if obj.description:
            line += " description %r" % obj.description
        lines.append(line)
    return "\n".join(lines) + "\n"


class Announcements:
    """The descriptions the program announces, as a screen reader hears
    them. The program sends only what someone listens for, and learns of a
    new listener from a signal of the registry: listening starts once the
    program is on the bus (one that registered while the program was
    connecting could be missed, which a screen reader started before the
    program never is), and the first keys wait a moment for the signal."""

    EVENT = "object:property-change:accessible-description"

    def __init__(self):
        self.heard = []
        self.expected = None
        self.delay = 1000  # milliseconds before the first keys
        pyatspi.Registry.registerEventListener(self.on_change, self.EVENT)

    def on_change(self, event):
        description = event.source.description
        self.heard.append(description)
        if self.expected is not None and self.expected in description:
            pyatspi.Registry.stop()

    def after(self, keys, expected):
        """Presses keys and runs the event loop until an announcement
        contains expected; returns it."""
        self.heard = []
        self.expected = expected

        def press():
            subprocess.run(["xdotool", "key", "--clearmodifiers"] + keys, check=True)
            return GLib.SOURCE_REMOVE

        gave_up = []

        def give_up():
            gave_up.append(True)
            pyatspi.Registry.stop()
            return GLib.SOURCE_REMOVE

        GLib.timeout_add(self.delay, press)
        self.delay = 0
        timeout = GLib.timeout_add(LIMIT * 1000, give_up)
        pyatspi.Registry.start()
        if not gave_up:
            GLib.source_remove(timeout)
        told = [d for d in self.heard if expected in d]
        if not told:
            fail("after %s nothing announced %r, only %r" % (" ".join(keys), expected, self.heard))
        return told[0]


def main():
    tree_file, name, first, second = sys.argv[1:5]
    app, view = find_view(time.monotonic() + LIMIT)
    announcements = Announcements()
    if view.name != "Bytes of " + name:
        fail("the view is named %r" % view.name)
    deadline = time.monotonic() + LIMIT
    while not view.description.startswith("Offset 0x0, hex %s, selected 1 byte" % first):
        if time.monotonic() > deadline:
            fail("the view describes %r, not byte 0" % view.description)
        time.sleep(0.2)
    if not view.getState().contains(pyatspi.STATE_FOCUSED):
        fail("the view does not have the focus")
    with open(tree_file, "w") as out:
        out.write(tree_text(app))

    told = announcements.after(["Right"], "Offset 0x1, hex %s, selected 1 byte" % second)
    print("accessible_view: after Right: " + told)
    told = announcements.after(["ctrl+f"], "Valid HEX formats are FF AA CC or FFAACC.")
    print("accessible_view: after Ctrl+F: " + told.replace("\n", " | "))
    with open(tree_file, "a") as out:
        out.write("\nWith the search panel shown:\n" + tree_text(app))


main()
