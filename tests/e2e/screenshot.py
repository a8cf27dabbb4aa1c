#!/usr/bin/env python3
"""Used by dev/start on a virtual display: answers the console greeting of the IDE that is
starting in the given program folder, closes its welcome dialog, waits for its main window
and saves a screenshot of the whole screen.

    screenshot.py <screenshot.png> <program folder>
"""
import subprocess
import sys

from ide import MAIN_TITLE, WELCOME_TITLE, Picture, console_text, press, wait_for, windows_named

EDITOR_BACK = (252, 248, 220)  # the editor's background: its controls have been drawn


def press_once(window_title, key, done, what):
    """Waits for the window, presses key once in it when it has the focus, and waits for done()."""
    window = wait_for(lambda: (windows_named(window_title) or [None])[0], 60, f"the window {window_title!r}")
    press(window, key)
    wait_for(done, 60, what)


def main(target, program_dir):
    wait_for(lambda: "Enter text to start.." in console_text(program_dir), 60, "the console prompt")
    press_once("ZorvexBasic", "Return", lambda: windows_named(WELCOME_TITLE), "the welcome dialog")
    press_once(WELCOME_TITLE, "Escape", lambda: windows_named(MAIN_TITLE), "the main window")
    window = windows_named(MAIN_TITLE)[0]
    wait_for(lambda: subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True)
             .stdout.find("IsViewable") >= 0, 30, "the main window to be shown")

    def drawn():
        subprocess.run(["import", "-window", "root", target], check=True)
        return Picture(target).count(EDITOR_BACK) > 10000
    # The window shows before its controls have drawn themselves: wait for the editor.
    wait_for(drawn, 30, "the editor to be drawn")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
