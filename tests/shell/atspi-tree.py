#!/usr/bin/env python3
"""Reads Velmora's windows through the accessibility bridge, as a screen reader does.

Usage: atspi-tree.py VELMORA SHEET
Run on an X desktop (on-x-desktop.sh). Starts a private session bus, whose activation starts the
accessibility bus, then Velmora on SHEET; presses the "About" link through its action and prints
each object of both windows as "role|name|description|actions", one a line.
"""
import os
import re
import subprocess
import sys
import tempfile
import time

REGISTRY = ("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
ACCESSIBLE = "org.a11y.atspi.Accessible"


def gdbus(address, destination, path, method, *arguments):
    result = subprocess.run(["gdbus", "call", "--address", address, "--dest", destination,
                             "--object-path", path, "--method", method, *arguments],
                            capture_output=True, text=True, timeout=20)
    if result.returncode != 0:
        raise RuntimeError(f"{method} on {path}: {result.stderr.strip()}")
    return result.stdout


def text_of(reply):
    """The first string of a reply such as "(<'Open'>,)" or "('frame',)"."""
    # GVariant's text quotes a string in double quotes when it holds a single one.
    found = re.search(r"'((?:[^'\\]|\\.)*)'|\"((?:[^\"\\]|\\.)*)\"", reply)
    if not found:
        return ""
    quoted = found.group(1) if found.group(1) is not None else found.group(2)
    return re.sub(r"\\(.)", lambda escape: {"n": "\n", "t": "\t"}.get(escape.group(1), escape.group(1)), quoted)


def references(reply):
    return re.findall(r"\('([^']*)', objectpath '([^']*)'\)|\('([^']*)', '([^']*)'\)", reply)


def children(address, name, path):
    found = []
    for a, b, c, d in references(gdbus(address, name, path, ACCESSIBLE + ".GetChildren")):
        found.append((a or c, b or d))
    return found


def prop(address, name, path, interface, key):
    return text_of(gdbus(address, name, path, "org.freedesktop.DBus.Properties.Get", interface, key))


def actions(address, name, path):
    interfaces = gdbus(address, name, path, ACCESSIBLE + ".GetInterfaces")
    if "org.a11y.atspi.Action" not in interfaces:
        return []
    count = int(re.search(r"(\d+)", prop_raw(address, name, path, "org.a11y.atspi.Action", "NActions")).group(1))
    return [text_of(gdbus(address, name, path, "org.a11y.atspi.Action.GetName", str(i))) for i in range(count)]


def prop_raw(address, name, path, interface, key):
    return gdbus(address, name, path, "org.freedesktop.DBus.Properties.Get", interface, key)


def walk(address, name, path, lines, depth=0):
    role = text_of(gdbus(address, name, path, ACCESSIBLE + ".GetRoleName"))
    label = prop(address, name, path, ACCESSIBLE, "Name")
    description = prop(address, name, path, ACCESSIBLE, "Description")
    lines.append((path, role, label, description, actions(address, name, path)))
    if depth < 12:
        for child_name, child_path in children(address, name, path):
            walk(address, child_name, child_path, lines, depth + 1)


def velmora_on_bus(address, deadline):
    while time.time() < deadline:
        for name, path in children(address, *REGISTRY):
            if prop(address, name, path, ACCESSIBLE, "Name").lower() == "velmora":
                return name, path
        time.sleep(0.2)
    raise RuntimeError("Velmora did not appear on the accessibility bus")


def main():
    program, sheet = sys.argv[1], sys.argv[2]
    session = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               stdout=subprocess.PIPE, text=True)
    velmora = None
    try:
        session_address = session.stdout.readline().strip()
        environment = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=session_address,
                           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                           XDG_RUNTIME_DIR=tempfile.mkdtemp())
        address = text_of(subprocess.run(
            ["gdbus", "call", "--address", session_address, "--dest", "org.a11y.Bus", "--object-path",
             "/org/a11y/bus", "--method", "org.a11y.Bus.GetAddress"],
            capture_output=True, text=True, timeout=20, check=True).stdout)
        velmora = subprocess.Popen([program, sheet], env=environment)
        name, root = velmora_on_bus(address, time.time() + 30)
        # The row appears once the run ends; the About window, once its link is pressed.
        deadline = time.time() + 30
        while True:
            lines = []
            walk(address, name, root, lines)
            about = [line for line in lines if line[1] == "link" and line[2] == "À propos"]
            rows = [line for line in lines if line[1] == "list item" and line[3]]
            if (about and rows) or time.time() > deadline:
                break
            time.sleep(0.3)
        if about:
            gdbus(address, name, about[0][0], "org.a11y.atspi.Action.DoAction", "0")
            deadline = time.time() + 30
            while time.time() < deadline:
                lines = []
                walk(address, name, root, lines)
                if any(line[1] == "dialog" for line in lines):
                    break
                time.sleep(0.3)
        for _, role, label, description, names in lines:
            # One object a line: a description's line breaks become spaces.
            print(f"{role}|{label}|{description.replace(chr(10), ' ')}|{','.join(names)}")
    finally:
        if velmora is not None:
            velmora.kill()
            velmora.wait()
        session.kill()
        session.wait()


if __name__ == "__main__":
    main()
