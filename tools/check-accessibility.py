#!/usr/bin/python3
# Walks the accessibility tree of the running Vantrel over AT-SPI and lists every window without
# a name and every control without one; exits 1 when there is any. Run with the windows open:
#   tools/check-accessibility.py
import sys

import pyatspi

CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_LIST, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_SLIDER, pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_SCROLL_BAR,
}


# The application's own children are its windows, whatever their role; a frame further down is a
# widget's border.
def walk(node, path, faults, counts, window=False):
    try:
        role = node.getRole()
        name = node.name
        states = node.getState()
    except Exception:
        return
    if not states.contains(pyatspi.STATE_SHOWING) and not window:
        return
    here = f"{path}/{node.getRoleName()}[{name}]"
    if window:
        counts["windows"] += 1
        if not name:
            faults.append("window without a name: " + here)
    elif role in CONTROLS:
        counts["controls"] += 1
        if not name:
            faults.append("control without a name: " + here)
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), here, faults, counts)


desktop = pyatspi.Registry.getDesktop(0)
apps = [a for a in desktop if a is not None and a.name.lower() in ("vantrel", "vantrel.")]
if not apps:
    print("check-accessibility: Vantrel is not on the accessibility bus", file=sys.stderr)
    sys.exit(2)
faults, counts = [], {"windows": 0, "controls": 0}
for app in apps:
    for i in range(app.childCount):
        walk(app.getChildAtIndex(i), app.name, faults, counts, window=True)
print(f"check-accessibility: {counts['windows']} windows, {counts['controls']} controls")
for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
