#!/usr/bin/python3
"""Reads the grid "sgIntrLn" of the window through AT-SPI, as a screen reader does: the
table's rows, columns and headers, a cell's name, and a cell pressed by its action.

Run in a session bus of its own and a display:
    dbus-run-session -- xvfb-run -a python3 read_grid_atspi.py HOST
where HOST is the program AtSpiGridHost; Qt's AT-SPI bridge starts the accessibility bus.
"""
import os
import subprocess
import sys
import time

import pyatspi

BOUND = 30.0  # seconds at most for anything to show through the bus


def eventually(find, what):
    """What `find` returns once it returns something, within the bound."""
    deadline = time.monotonic() + BOUND
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    sys.exit(f"FAIL: {what} not seen through AT-SPI within {BOUND:.0f} s")


def application(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def table(node, name):
    if node.getRole() == pyatspi.ROLE_TABLE and node.name == name:
        return node
    if node.getRole() == pyatspi.ROLE_TABLE_CELL:
        return None  # the cells hold nothing further
    for child in node:
        if child is not None and (found := table(child, name)):
            return found
    return None


def expect(what, actual, expected):
    if actual != expected:
        sys.exit(f"FAIL: {what}: {actual!r}, expected {expected!r}")
    print(f"PASS: {what}: {actual!r}")


def main():
    host = sys.argv[1]
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    window = subprocess.Popen([host], stdin=subprocess.PIPE, env=environment)
    try:
        app = eventually(lambda: application(os.path.basename(host)), "the program")
        grid = eventually(lambda: table(app, "sgIntrLn"), "the grid sgIntrLn")
        cells = grid.queryTable()
        expect("rows", cells.nRows, 17)
        expect("columns", cells.nColumns, 12)
        expect("column 9's description", cells.getColumnDescription(8), "Call")
        expect("column 9's header", cells.getColumnHeader(8).name, "Call")
        expect("row 2's header", cells.getRowHeader(1).name, "22")
        cell = cells.getAccessibleAt(0, 0)
        expect("the first cell", cell.name, "Pobočka 21, Vstup 91: X")
        press = cell.queryAction()
        expect("its action", press.getName(0), "Press")
        press.doAction(0)
        pressed = "Pobočka 21, Vstup 91: prázdné"
        eventually(lambda: cells.getAccessibleAt(0, 0).name == pressed, "the pressed cell")
        print(f"PASS: pressed: {pressed!r}")
    finally:
        window.stdin.close()
        window.wait(BOUND)


if __name__ == "__main__":
    main()
