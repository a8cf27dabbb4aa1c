"""Drives the real ZorvexIde.exe under Wine as a user would: keys and clicks through xdotool,
checks through window titles, files on disk and the console's screen text.

Every wait is for a condition with a time-out. Needs DISPLAY and the Wine environment that
dev/test sets up. The same tests drive the 32-bit or the 64-bit program, as arch.py says.
"""
import os
import shutil
import subprocess
import sys
import time
from collections import Counter

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "package"))
from make_package import copy_program  # noqa: E402  (the release knows what a run writes there)
from arch import BITS, NO_32_BIT, OUT, RUNS_32BIT, SUFFIX, WINE  # noqa: E402,F401  (the tests take them from here)

DIST = os.path.join(OUT, "dist" + SUFFIX)
TOOLS = os.path.join(OUT, "e2e-tools" + SUFFIX)
# The tests' own folders: out/e2e for the 32-bit program, out/e2e64 for the 64-bit one.
E2E = os.path.join(OUT, "e2e" + SUFFIX)
SCREENSHOTS = os.path.join(E2E, "screenshots")
MAIN_TITLE = "ZorvexIde_2023/24 ->beta "
WELCOME_TITLE = "Zorvex Basic says welcome to Zor"
# How long a program's start may take on a busy machine: each run starts a fresh Wine server,
# whose services and console host share the processor with everything else running.
START_TIMEOUT = 120


def wait_for(condition, timeout=30.0, what="condition", pause=0.1):
    """Polls condition() every pause seconds until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(pause)


def xdotool(*args):
    """Runs xdotool; a call that does not come back (a window that never takes the focus)
    fails the test instead of hanging the run."""
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=60)
    return result.stdout.strip()


def move_pointer(x, y):
    """Moves the mouse pointer to the screen point (x, y) and waits until it is there. xdotool's
    --sync waits for the pointer to leave where it was, so a move to where it already is would
    wait for nothing; the display keeps the pointer where the last test left it."""
    where = dict(line.split("=", 1) for line in xdotool("getmouselocation", "--shell").splitlines() if "=" in line)
    if (int(where.get("X", -1)), int(where.get("Y", -1))) != (x, y):
        xdotool("mousemove", "--sync", str(x), str(y))


def windows_named(title):
    """X window ids whose name is exactly title."""
    ids = xdotool("search", "--name", "^" + _regex_escape(title) + "$")
    return [w for w in ids.split() if w]


def window_names():
    return [xdotool("getwindowname", w) for w in xdotool("search", "--name", ".").split()]


def _regex_escape(text):
    return "".join("\\" + c if c in ".^$*+?()[]{}|\\/" else c for c in text)


def wine_env(prefix=None):
    """The environment for Wine processes in prefix; None (the inherited one) for the default."""
    return dict(os.environ, WINEPREFIX=prefix) if prefix else None


def fresh_program_dir(name, without=()):
    """The program's own files from out/dist under out/e2e/<name>, as a fresh install: nothing
    an earlier run wrote into out/dist (settings, scratch files) comes along, nor the names in
    without."""
    target = os.path.join(E2E, name)
    shutil.rmtree(target, ignore_errors=True)
    copy_program(DIST, target, without)
    return target


def focused_window():
    """The X window that has the keyboard focus."""
    return xdotool("getwindowfocus")


def focus(window, timeout=60):
    """Gives the window the keyboard focus and waits until it has it: a key pressed before
    then would go to another window. A window that is still being activated can lose the
    focus again to another window of the program; it is then given the focus again (no key
    has been pressed yet)."""
    def has_it():
        if focused_window() != window:
            xdotool("windowfocus", "--sync", window)
        return focused_window() == window
    wait_for(has_it, timeout, f"the focus on window {window}")


def press(window, *keys):
    """Presses each key once in the window, once it has the focus."""
    focus(window)
    for key in keys:
        xdotool("key", key)


class Picture:
    """A screenshot's pixels as (r, g, b) tuples."""

    def __init__(self, path):
        size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True,
                              check=True, timeout=60).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True,
                                  timeout=60).stdout
        self.colours = self.colours_in(0, self.height)

    def colours_in(self, first_row, end_row):
        """How often each colour shows in rows first_row to end_row (exclusive)."""
        part = self.raw[first_row * self.width * 3:end_row * self.width * 3]
        return Counter(zip(part[0::3], part[1::3], part[2::3]))

    def count(self, colour):
        return self.colours.get(tuple(colour), 0)

    def count_where(self, test):
        return sum(n for colour, n in self.colours.items() if test(*colour))


def screenshot(window, name):
    """Saves the window as it shows on the screen in out/e2e/screenshots/<name>.png. The
    screen is taken, not the window: the window alone may not hold what the screen shows."""
    values = dict(line.split("=", 1) for line in
                  xdotool("getwindowgeometry", "--shell", window).splitlines() if "=" in line)
    return screen_area(name, int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))


def screen_area(name, x, y, width, height):
    """Saves that part of the screen in out/e2e/screenshots/<name>.png."""
    path = os.path.join(SCREENSHOTS, name + ".png")
    os.makedirs(SCREENSHOTS, exist_ok=True)
    crop = f"{width}x{height}+{max(0, x)}+{max(0, y)}"
    subprocess.run(["import", "-window", "root", "-crop", crop, "+repage", path], check=True, timeout=60)
    return path


def read(path):
    """The whole file as bytes."""
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    """Replaces the file's content with the bytes data."""
    with open(path, "wb") as f:
        f.write(data)


def wine_path(unix_path):
    """The Windows name of a Unix path (Wine maps / to drive Z:)."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def fresh_folder(name):
    """An empty folder out/e2e/<name>, outside every program folder (a user's work folder)."""
    target = os.path.join(E2E, name)
    shutil.rmtree(target, ignore_errors=True)
    os.makedirs(target)
    return target


def program_with_source(name, file_name, content, without=()):
    """A fresh program folder (see fresh_program_dir) holding one source file; returns the
    folder and the file's path."""
    folder = fresh_program_dir(name, without)
    source = os.path.join(folder, file_name)
    with open(source, "wb") as f:
        f.write(content)
    return folder, source


def winpeek(peek_dir, env, what, *args, flags=()):
    """What the test tool winpeek reports of the running programs (its report what, asked with
    args and flags): the bytes it wrote into a file in peek_dir, or None when it wrote none."""
    out = os.path.join(peek_dir, what + ".txt")
    if os.path.exists(out):
        os.remove(out)
    subprocess.run([WINE, os.path.join(TOOLS, "winpeek.exe"), what, *args, wine_path(out), *flags],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60, env=env)
    try:
        with open(out, "rb") as f:
            return f.read()
    except OSError:
        return None


def console_text(peek_dir, env=None, attributes=False, utf8=False):
    """The IDE's console screen text as its console shows it; empty if not readable: in the
    console's code page (read as Windows-1252), or with utf8 as the characters themselves."""
    flags = ["--attributes"] if attributes else ["--utf8"] if utf8 else []
    data = winpeek(peek_dir, env, "console", "ZorvexIde.exe", flags=flags)
    if data is None:
        return ""
    return data.decode("utf-8", errors="replace") if utf8 else data.decode("cp1252")


class Ide:
    """One run of the program, started in its program folder."""

    def __init__(self, program_dir, args=(), cwd=None, prefix=None, command=None, peek_dir=None):
        """prefix: another Wine prefix than the environment's; command: how to start the IDE
        instead of running program_dir's ZorvexIde.exe with args (wine start on a file, say);
        peek_dir: where console_text and window_texts leave their files (program_dir)."""
        # Wine's reports of a display it cannot reach are kept (see console_window).
        self.env = dict(wine_env(prefix) or os.environ, WINEDEBUG="-all,err+winediag")
        self.program_dir = program_dir
        self.peek_dir = peek_dir or program_dir
        self.command = command or [WINE, os.path.join(program_dir, "ZorvexIde.exe"), *args]
        self.cwd = cwd or program_dir
        self.started_directly = command is None
        # What Wine says while the program runs, for the report of a start that fails.
        self.output = os.path.join(E2E, "wine-output.txt")
        os.makedirs(os.path.dirname(self.output), exist_ok=True)
        self.start()

    def start(self):
        # Nothing of an earlier run may still be on the screen.
        subprocess.run(["wineserver", "-k"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=self.env)
        subprocess.run(["wineserver", "-w"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30,
                       env=self.env)
        with open(self.output, "wb") as output:
            self.process = subprocess.Popen(self.command, cwd=self.cwd, stdout=output, stderr=subprocess.STDOUT,
                                            env=self.env)

    # --- the console greeting
    def console_window(self, timeout=START_TIMEOUT):
        def said():
            with open(self.output, "rb") as output:
                return output.read()[-2000:].decode("latin-1")

        def shown():
            window = (windows_named("ZorvexBasic") or [None])[0]
            if not window and self.started_directly and self.process.poll() is not None:
                raise AssertionError(f"the IDE ended ({self.process.returncode}) before its console showed; Wine said: "
                                     + said())
            return window
        try:
            return wait_for(shown, timeout, "the console window")
        except TimeoutError as error:
            raise TimeoutError(f"{error}; Wine said: {said()}") from None

    def answer_greeting(self, text="", close_welcome=True):
        """Types the answer into the console once its prompt shows, then closes the welcome
        dialog that follows it (unless close_welcome is false, for tests of the dialog itself)."""
        console = self.console_window()
        wait_for(lambda: "Enter text to start.." in self.console_text(), START_TIMEOUT, "the console prompt")
        focus(console)
        if text:
            xdotool("type", "--delay", "20", text)
        xdotool("key", "Return")
        wait_for(lambda: "start Zorvex:" in self.console_text(), 60, "the greeting's answer")
        if close_welcome:
            self.close_welcome()

    # --- the welcome dialog
    def welcome_window(self, timeout=START_TIMEOUT):
        return wait_for(lambda: (windows_named(WELCOME_TITLE) or [None])[0], timeout, "the welcome dialog")

    def close_welcome(self):
        """Presses Esc once in the welcome dialog, which must end it."""
        press(self.welcome_window(), "Escape")
        wait_for(lambda: not windows_named(WELCOME_TITLE), 60, "the welcome dialog to close after one Esc")

    def console_text(self, attributes=False, utf8=False):
        return console_text(self.peek_dir, self.env, attributes, utf8)

    def peek(self, what, *args, flags=()):
        return winpeek(self.peek_dir, self.env, what, *args, flags=flags)

    def status_parts(self, title):
        """The texts of the status bar's parts of the window titled title; None if there is none."""
        data = self.peek("status", title)
        return None if data is None else data.decode("cp1252").split("\n")[:-1]

    def wait_keys_taken(self):
        """Waits until the system's keyboard state has Ctrl, Shift and Alt up again: a window of
        another process (the console) may take its keys late on a busy machine, and a key typed
        elsewhere meanwhile would count as pressed with them."""
        wait_for(lambda: (self.peek("modifiers") or b"").split() == [b"up", b"up", b"up"], START_TIMEOUT,
                 "Ctrl, Shift and Alt to be released")

    def window_texts(self, title):
        """Lines: the window's title, then its child windows' texts; None if there is no such window."""
        data = self.peek("window", title)
        return None if data is None else data.decode("cp1252").split("\n")

    def foreground(self):
        """(program, title, focus): the program file name of the process whose window is the
        foreground one, that window's title and the class name of the control with the keyboard
        focus there; empty texts while no window is the foreground one."""
        lines = (self.peek("foreground") or b"").decode("cp1252").split("\n")
        return tuple((lines + ["", "", ""])[:3])

    def answer_box(self, title="zor", key="Return"):
        """Waits for a box of the IDE titled title, returns its texts and presses key in it.
        Returns once the box is gone and a window of the IDE is the foreground one again: a box
        without an owner hands the foreground to another program (the console) as it closes,
        until the IDE takes it back, and a key typed meanwhile would go there."""
        box = self.main_window(title)
        texts = wait_for(lambda: self.window_texts(title), 30, f"the box {title!r}")
        self.keys(box, key)
        wait_for(lambda: not self.window_texts(title), 30, f"the box {title!r} to close")
        wait_for(lambda: self.foreground()[0].lower() == "zorvexide.exe", 30, "the IDE in the foreground")
        return "\n".join(texts)

    # --- windows
    def main_window(self, title=MAIN_TITLE, timeout=60):
        return wait_for(lambda: (windows_named(title) or [None])[0], timeout, f"a window titled {title!r}")

    def focus(self, window):
        focus(window)

    def keys(self, window, *keys):
        press(window, *keys)

    def type_text(self, window, text):
        focus(window)
        xdotool("type", "--delay", "15", text)

    def geometry(self, window):
        """(x, y, width, height) of an X window."""
        values = dict(line.split("=", 1) for line in
                      xdotool("getwindowgeometry", "--shell", window).splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def click(self, window, dx, dy):
        """A left click at (dx, dy) from the window's top left corner."""
        x, y, _, _ = self.geometry(window)
        move_pointer(x + dx, y + dy)
        xdotool("click", "1")

    def double_click(self, x, y):
        """A left double-click at the screen point (x, y)."""
        move_pointer(x, y)
        xdotool("click", "--repeat", "2", "--delay", "80", "1")

    def point_of(self, title, text, whole=False):
        """The screen point (x, y) of the first character of text in the edit box of the window
        titled title whose text holds it (with whole, whose text is it); None while there is none."""
        data = self.peek("point", title, text, flags=["--whole"] if whole else [])
        try:
            x, y = data.split()
            return int(x), int(y)
        except (AttributeError, ValueError):
            return None

    def edit_and_save(self, window, *keys, text):
        """Clicks into the editor, presses keys, types text and saves with Ctrl+S."""
        self.click(window, 300, 300)
        self.keys(window, *keys)
        self.type_text(window, text)
        self.keys(window, "ctrl+s")

    def close_main_window(self, window):
        self.keys(window, "alt+F4")

    # --- the process
    def wait_exit(self, timeout=30):
        return self.process.wait(timeout=timeout)

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
        subprocess.run(["wineserver", "-k"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=self.env)
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            pass
        subprocess.run(["wineserver", "-w"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30,
                       env=self.env)
