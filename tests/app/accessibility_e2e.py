#!/usr/bin/env python3
"""Brelko as a screen reader meets it, through the real accessibility bus.

Run inside an X server and a private D-Bus session (see run-accessibility-e2e).
Starts the program on a folder of two MP3 files, reads the file count from
the accessibility tree, chooses a file through the tree and reads its
information line, then moves a folder in the copy window with Move chosen
through the toggle action. Exits 77 (skipped) only when the accessibility
bus cannot be reached.
"""

import os
import subprocess
import sys
import tempfile
import time

SKIP = 77
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
pyatspi = None  # imported once the accessibility bus runs

MPEG_FRAME = b"\xff\xfb\x90\x64" + bytes(413)


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def wait_for(what, probe, seconds=20):
    """Polls probe until it gives something true, handling the bus's events
    meanwhile; fails after seconds."""
    from gi.repository import GLib
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            found = probe()
        except Exception:  # the tree changes under us while windows open
            found = None
        if found:
            return found
        time.sleep(0.2)
    fail(f"never saw {what}")


def find(root, role, name=None, starts=None):
    """The first node under root of this role and name, breadth first; the
    rows of lists and trees are searched only when the list is the root."""
    queue = [root]
    while queue:
        node = queue.pop(0)
        if node is None:
            continue
        node_role = node.getRoleName()
        if node_role == role and (name is None or node.name == name) and (
                starts is None or node.name.startswith(starts)):
            return node
        if node is root or node_role not in ("list", "tree", "table", "tree table"):
            queue.extend(node)
    return None


def do_action(node, action):
    actions = node.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) == action:
            actions.doAction(i)
            return
    fail(f"{node.name!r} offers no {action} action")


def window_named(app, title):
    for window in app:
        if window is not None and window.name == title:
            return window
    return None


def choose_folder(app, copy_window, button, path):
    """Presses a Select button and types the folder into the folder dialog."""
    do_action(find(copy_window, "push button", button), "Press")
    dialog = wait_for("the folder dialog", lambda: next(
        (w for w in app if w is not None and w.name.startswith("Select the")), None))
    entry = wait_for("the folder name box", lambda: find(dialog, "text", starts="Directory"))
    entry.queryEditableText().setTextContents(path)
    do_action(wait_for("the Choose button", lambda: find(dialog, "push button", "Choose")), "Press")
    wait_for("the folder dialog to close", lambda: window_named(app, dialog.name) is None)


def start_bus():
    """Starts the accessibility bus on the session bus; the desktop, or skips."""
    global pyatspi
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        print("SKIP: no D-Bus session bus")
        sys.exit(SKIP)
    try:
        launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"])
        import pyatspi as atspi
    except (OSError, ImportError) as error:
        print(f"SKIP: the accessibility bus cannot start ({error})")
        sys.exit(SKIP)
    pyatspi = atspi
    deadline = time.monotonic() + 15
    while True:
        try:
            desktop = pyatspi.Registry.getDesktop(0)
            desktop.childCount
            return launcher, desktop
        except Exception as error:
            if time.monotonic() > deadline or launcher.poll() is not None:
                print(f"SKIP: the accessibility bus cannot be reached ({error})")
                sys.exit(SKIP)
            time.sleep(0.3)


def main():
    program = os.path.abspath(sys.argv[1])
    launcher, desktop = start_bus()

    work = tempfile.mkdtemp(prefix="brelko-a11y-")
    music = os.path.join(work, "music")
    os.makedirs(music)
    for name in ("a.mp3", "b.mp3"):
        with open(os.path.join(music, name), "wb") as mp3:
            mp3.write(MPEG_FRAME * 3)
    os.makedirs(os.path.join(music, "sub"))
    with open(os.path.join(music, "sub", "d.mp3"), "wb") as mp3:
        mp3.write(MPEG_FRAME)
    source = os.path.join(work, "album")
    target = os.path.join(work, "backup")
    os.makedirs(source)
    os.makedirs(target)
    with open(os.path.join(source, "c.mp3"), "wb") as mp3:
        mp3.write(MPEG_FRAME)

    environment = dict(os.environ, HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"),
                       XDG_STATE_HOME=os.path.join(work, "state"),
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                       QT_QPA_PLATFORM="xcb")
    environment.pop("QT_QPA_PLATFORMTHEME", None)
    brelko = subprocess.Popen([program, music], env=environment, cwd=work)
    try:
        app = wait_for("Brelko on the accessibility bus", lambda: next(
            (a for a in desktop if a is not None and a.name.lower() == "brelko"), None))
        main_window = wait_for("the main window", lambda: window_named(app, "Brelko"))

        count = wait_for("the file count", lambda: find(main_window, "label", starts="Files : "))
        if count.name != "Files : 2":
            fail(f"the file count is heard as {count.name!r}")

        # A screen reader learns of a new text by the name-changed event.
        announced = []
        pyatspi.Registry.registerEventListener(
            lambda event: announced.append(event.source.name),
            "object:property-change:accessible-name")
        info = find(main_window, "label", starts="Bestand ")
        files = find(main_window, "list", "Bestanden")
        do_action(wait_for("the entry b.mp3", lambda: find(files, "list item", "b.mp3")), "Toggle")
        expected = "Bestand ..............: b.mp3"
        wait_for(f"{expected!r} (heard {info.name!r})", lambda: info.name == expected)
        wait_for(f"{expected!r} announced (only {announced})", lambda: expected in announced)

        # A folder is chosen by selecting its row through the table
        # interface, as a screen reader's selection command does.
        folders = find(main_window, "tree", "Mappen") or find(main_window, "tree table", "Mappen")
        if folders is None:
            fail("no folder list named 'Mappen'")
        sub = wait_for("the folder sub", lambda: find(folders, "table cell", "sub") or find(
            folders, "tree item", "sub") or find(folders, "list item", "sub"))
        table = folders.queryTable()
        table.addRowSelection(table.getRowAtIndex(sub.getIndexInParent()))
        wait_for(f"'Files : 1' after choosing sub (heard {count.name!r})",
                 lambda: count.name == "Files : 1")

        do_action(find(main_window, "push button", "Copy Folders"), "Press")
        copy_window = wait_for("the copy window", lambda: window_named(app, " Copy Folders"))
        choose_folder(app, copy_window, "Select Source", source)
        choose_folder(app, copy_window, "Select Target", target)
        do_action(find(copy_window, "radio button", "Move Source Folder to Destination"), "Toggle")
        do_action(find(copy_window, "push button", "Start Copy"), "Press")
        moved = os.path.join(target, "album", "c.mp3")
        wait_for("the folder moved",
                 lambda: os.path.exists(moved) and not os.path.exists(source), seconds=30)
        print("PASS: heard 'Files : 2' and the chosen file's line, announced; a folder chosen; "
              "the folder moved")
    finally:
        brelko.terminate()
        try:
            brelko.wait(10)
        except subprocess.TimeoutExpired:
            brelko.kill()
        launcher.terminate()


if __name__ == "__main__":
    main()
