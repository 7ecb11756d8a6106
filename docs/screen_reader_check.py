#!/usr/bin/python3
"""Reads and operates the running program through AT-SPI, the accessibility bus a screen reader
such as Orca uses: the status panels, the about box's version, the attributes dialog's file and
date, and the check buttons "Ausgeblendete Dateien anzeigen" (key "Attribute") and "Versteckt".
Started by docs/screen-reader-check.sh; prints what it read and exits non-zero on a miss."""

import sys
import time

import pyatspi

failures = []


def check(what, ok):
    print(("ok   " if ok else "MISS ") + what)
    if not ok:
        failures.append(what)


def nodes(root):
    if root is None:
        return
    yield root
    for i in range(root.childCount):
        yield from nodes(root.getChildAtIndex(i))


def wait_for(find, seconds=15):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.3)
    return None


def app():
    def find():
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == "Tilgomat":
                return a
        return None
    return wait_for(find, 30)


def node(root, name=None, role=None, start=None):
    def find():
        for n in nodes(root):
            if name is not None and n.name != name:
                continue
            if start is not None and not n.name.startswith(start):
                continue
            if role is not None and n.getRole() != role:
                continue
            return n
        return None
    return wait_for(find)


def act(n, action):
    a = n.queryAction()
    names = [a.getName(i) for i in range(a.nActions)]
    a.doAction(names.index(action))


def checked(n):
    return n.getState().contains(pyatspi.STATE_CHECKED)


def main(hidden_file, chosen_file, log_line):
    program = app()
    if program is None:
        print("the program is not on the accessibility bus")
        return 2
    main_window = node(program, name="Tilgomat", role=pyatspi.ROLE_FRAME)

    for text in ("Dateien: 0", "Verzeichnisse: 0", "Tilgomat Release 1.2.3"):
        panel = node(main_window, name=text, role=pyatspi.ROLE_LABEL)
        check('status panel reads "%s" (%s)' % (text, panel.description if panel else "-"),
              panel is not None)

    attribute = node(main_window, name="Ausgeblendete Dateien anzeigen")
    files = node(main_window, name="Dateien", role=pyatspi.ROLE_LIST)
    listed = lambda name: any(c.name == name for c in nodes(files))
    check("the hidden file is not listed before", not listed(hidden_file))
    act(attribute, "Toggle")
    check('"Ausgeblendete Dateien anzeigen" toggled shows as pressed',
          wait_for(lambda: True if checked(attribute) else None, 5) is not None)
    check("and the file list now shows the hidden file",
          wait_for(lambda: True if listed(hidden_file) else None, 5) is not None)

    act(node(main_window, name="Über"), "Press")
    about = node(program, name="Info zu Tilgomat")
    check("the about box opened", about is not None)
    version = node(about, name="Version 1.2.3", role=pyatspi.ROLE_LABEL)
    check('the about box reads "Version 1.2.3"', version is not None)
    act(node(about, name="OK", role=pyatspi.ROLE_PUSH_BUTTON), "Press")

    # The log viewer's text box gives its text, and each line, to the reader.
    act(node(main_window, name="Protokoll anzeigen"), "Press")
    viewer = node(program, name="Löschprotokoll")
    check("the log viewer opened", viewer is not None)
    log_box = node(viewer, name="Protokoll", role=pyatspi.ROLE_TEXT)
    text = log_box.queryText() if log_box is not None else None
    whole = text.getText(0, -1) if text is not None else ""
    check("the log viewer reads the log: %r" % whole[:60], log_line in whole)
    line = text.getTextAtOffset(len("erste Zeile\n") + 3, pyatspi.TEXT_BOUNDARY_LINE_START) if text else ("",)
    check("the log viewer reads its second line: %r" % (line[0],),
          line[0].rstrip("\n") == log_line)
    act(node(viewer, name="OK", role=pyatspi.ROLE_PUSH_BUTTON), "Press")

    # A list item's one action selects it, as a click does.
    act(node(files, name=chosen_file), "Toggle")
    act(node(main_window, name="Dateiattribute ändern"), "Press")
    flags = node(program, name="Dateiattribute")
    check("the attributes dialog opened", flags is not None)
    labels = [n.name for n in nodes(flags) if n.getRole() == pyatspi.ROLE_LABEL]
    check("the attributes dialog reads the file: %s" % labels,
          any(l.endswith(chosen_file) for l in labels))
    check("the attributes dialog reads the date",
          any(l.startswith("Erstellt am: ") and len(l) > len("Erstellt am: ") for l in labels))
    hidden_box = node(flags, name="Versteckt", role=pyatspi.ROLE_CHECK_BOX)
    act(hidden_box, "Toggle")
    check('"Versteckt" toggled shows as checked',
          wait_for(lambda: True if checked(hidden_box) else None, 5) is not None)
    act(node(flags, name="OK", role=pyatspi.ROLE_PUSH_BUTTON), "Press")
    check("the attributes dialog closed",
          wait_for(lambda: None if any(n.name == "Dateiattribute" for n in nodes(program))
                   else True, 5) is not None)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3]))
