#!/usr/bin/env python3
"""Wine's display scale for one run: LogPixels under HKCU\\Control Panel\\Desktop in the Wine
prefix, which every Wine process reads as it starts (fonts, metrics, GetDpiForWindow). A run
sets it and puts back what was there after it, so other runs keep their scale.

    display.py set <dpi>          sets it; prints what it replaced ("none" for no value)
    display.py restore <value>    puts back what set printed

Needs the Wine environment (WINEPREFIX, ZOR_WINE) that the dev scripts set.
"""
import contextlib
import os
import subprocess
import sys

KEY = r"HKCU\Control Panel\Desktop"
VALUE = "LogPixels"
NONE = "none"


def _reg(*args, env=None):
    # The loader of the prefix's architecture (the dev scripts name it in ZOR_WINE).
    wine = (env or os.environ).get("ZOR_WINE") or "wine"
    return subprocess.run([wine, "reg", *args], capture_output=True, text=True, timeout=120, env=env)


def current(env=None):
    """The value set now, as a decimal string, or NONE."""
    result = _reg("query", KEY, "/v", VALUE, env=env)
    for line in result.stdout.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[0] == VALUE:
            return str(int(parts[2], 0))
    return NONE


def set_dpi(dpi, env=None):
    """Sets the display scale to dpi; returns what was there before."""
    dpi = int(dpi)
    if not 48 <= dpi <= 960:
        raise ValueError(f"a display scale of {dpi} dpi makes no sense (48 to 960)")
    before = current(env)
    if _reg("add", KEY, "/v", VALUE, "/t", "REG_DWORD", "/d", str(dpi), "/f", env=env).returncode != 0:
        raise RuntimeError(f"could not set {KEY}\\{VALUE} in the Wine prefix")
    return before


def restore(before, env=None):
    """Puts back the value set_dpi replaced."""
    if before == NONE:
        _reg("delete", KEY, "/v", VALUE, "/f", env=env)
    else:
        _reg("add", KEY, "/v", VALUE, "/t", "REG_DWORD", "/d", str(before), "/f", env=env)


@contextlib.contextmanager
def display_dpi(dpi, env=None):
    """Wine processes started inside the block see a display of dpi."""
    before = set_dpi(dpi, env)
    try:
        yield
    finally:
        restore(before, env)


def main(args):
    if len(args) == 2 and args[0] == "set":
        print(set_dpi(args[1]))
        return 0
    if len(args) == 2 and args[0] == "restore":
        restore(args[1])
        return 0
    sys.exit(__doc__)


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except (ValueError, RuntimeError) as error:
        sys.exit(f"display.py: {error}")
