#!/usr/bin/env python3
"""Used by dev/start on a virtual display: answers the console greeting of the IDE that is
starting, waits for its main window and saves a screenshot of the whole screen."""
import subprocess
import sys

from ide import MAIN_TITLE, wait_for, windows_named, xdotool


def main(target):
    console = wait_for(lambda: (windows_named("ZorvexBasic") or [None])[0], 60, "the console window")

    def answered():
        xdotool("windowfocus", "--sync", console)
        xdotool("key", "Return")
        try:
            return wait_for(lambda: windows_named(MAIN_TITLE), 5, "the main window")
        except TimeoutError:
            return False
    wait_for(answered, 60, "the main window")
    window = windows_named(MAIN_TITLE)[0]
    wait_for(lambda: subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True)
             .stdout.find("IsViewable") >= 0, 30, "the main window to be shown")
    subprocess.run(["import", "-window", "root", target], check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
