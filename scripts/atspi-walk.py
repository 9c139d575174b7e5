#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Walks the accessibility tree of a running paramcurve through AT-SPI, as a
screen reader sees it, and fails on any input without a name.

Also checks the names the program promises (the nine fields, the colour
indicator, the plane, the two windows by their titles) and that a changed
colour reaches the reader: "Barva křivky" is pressed through the bus, the
colour dialog cancelled through the bus, and the indicator then reads
"R 0, G 0, B 200" (the dialog opens on the curve's colour, which a cancel
keeps). And the readout as the reader hears it: "Kresli" pressed through
the bus traces the circle, and "Poloha pera" then describes its last point.
    atspi-walk.py SECONDS   (how long to wait for the program to appear)
"""
import sys
import time

import pyatspi

# Roles a user acts on: each needs a name a screen reader can speak.
INPUT_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SLIDER, pyatspi.ROLE_MENU_ITEM,
}

EXPECTED = [
    # (role, name, description or None for any)
    (pyatspi.ROLE_FRAME, "Control_Panel", None),
    (pyatspi.ROLE_FRAME, "Parametric Curve", None),
    (pyatspi.ROLE_TEXT, "x =", None),
    (pyatspi.ROLE_TEXT, "y =", None),
    (pyatspi.ROLE_TEXT, "Zorné pole x, začátek", None),
    (pyatspi.ROLE_TEXT, "Zorné pole x, konec", None),
    (pyatspi.ROLE_TEXT, "Zorné pole y, začátek", None),
    (pyatspi.ROLE_TEXT, "Zorné pole y, konec", None),
    (pyatspi.ROLE_TEXT, "Parametr t, začátek", None),
    (pyatspi.ROLE_TEXT, "Parametr t, konec", None),
    (pyatspi.ROLE_TEXT, "počet segmentů", None),
    (pyatspi.ROLE_PUSH_BUTTON, "Kresli", None),
    (pyatspi.ROLE_IMAGE, "Barva křivky", "R 0, G 0, B 200"),
    (pyatspi.ROLE_IMAGE, "Rovina", None),
]


def find_application(seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == "paramcurve":
                frames = [child for child in app if child is not None and child.getRole() == pyatspi.ROLE_FRAME]
                if len(frames) >= 2:
                    return app
        time.sleep(0.2)
    return None


def walk(node, depth=0):
    yield node, depth
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def describe(node):
    return f"{node.getRoleName()} {node.name!r} {node.description!r}"


def find(app, role, name):
    """The first node of `role` (any when None) named `name`."""
    for node, _ in walk(app):
        if (role is None or node.getRole() == role) and node.name == name:
            return node
    return None


def press(node):
    actions = node.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) in ("Press", "press", "click"):
            return actions.doAction(i)
    return actions.doAction(0)


def wait_for(condition, seconds=10):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = condition()
        if found:
            return found
        time.sleep(0.1)
    return None


def main():
    app = find_application(float(sys.argv[1]) if len(sys.argv) > 1 else 30)
    if app is None:
        print("FAILED: paramcurve did not appear on the accessibility bus")
        return 1
    failures = 0
    inputs = 0
    for node, depth in walk(app):
        print("  " * depth + describe(node))
        if node.getRole() in INPUT_ROLES:
            inputs += 1
            if not node.name.strip():
                print(f"FAILED: an input without a name: {describe(node)}")
                failures += 1
    for role, name, description in EXPECTED:
        node = find(app, role, name)
        if node is None:
            print(f"FAILED: no {role} named {name!r}")
            failures += 1
        elif description is not None and node.description != description:
            print(f"FAILED: {name!r} is described {node.description!r}, expected {description!r}")
            failures += 1

    # The colour, changed through the bus, read again through it.
    indicator = find(app, pyatspi.ROLE_IMAGE, "Barva křivky")
    colour_button = find(app, pyatspi.ROLE_PUSH_BUTTON, "Barva křivky")
    if indicator is None or colour_button is None:
        print("FAILED: no colour button or indicator")
        failures += 1
    else:
        press(colour_button)
        cancel = wait_for(lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, "Zrušit"))
        if cancel is None:
            print("FAILED: the colour dialog did not open with a button \"Zrušit\"")
            failures += 1
        else:
            press(cancel)
            if wait_for(lambda: indicator.description == "R 0, G 0, B 200") is None:
                print(f"FAILED: after cancelling, the indicator reads {indicator.description!r}, "
                      "expected 'R 0, G 0, B 200'")
                failures += 1
            else:
                print("the colour indicator reads 'R 0, G 0, B 200' after the colour dialog was cancelled")

    # The readout (on, as remembered) after the circle is traced.
    kresli = find(app, pyatspi.ROLE_PUSH_BUTTON, "Kresli")
    if kresli is None:
        print("FAILED: no button \"Kresli\"")
        failures += 1
    else:
        press(kresli)
        # The last point is a step past t2 = 2π.
        last = "t = 6,34602   x = 2,99408   y = 0,188372"

        def pen_reads():
            pen = find(app, None, "Poloha pera")
            return pen if pen is not None and pen.description == last else None

        if wait_for(pen_reads, 30) is None:
            pen = find(app, None, "Poloha pera")
            heard = pen.description if pen is not None else None
            print(f"FAILED: after \"Kresli\", \"Poloha pera\" reads {heard!r}, expected {last!r}")
            failures += 1
        else:
            print(f"the pen readout reads {last!r} after the circle")

    print(f"{inputs} inputs, {failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
