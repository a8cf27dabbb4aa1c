#!/usr/bin/env python3
"""Benchmark: start-up as a user meets it, under Wine.

1. A trivial window program (out/bench/trivialwin.exe): process start until its window is
   painted, the yardstick for what Wine itself takes to start a window program.
2. The real ZorvexIde.exe with a small source as its argument, in one run: process start until
   the console prompt waits for its answer; the answer until the welcome dialog shows with its
   picture; Esc in the dialog until the main window shows the source. Then where the time after
   Esc goes: Esc reaching the dialog, closing it, GDI+ shut-down, zor_trend and the About text,
   the pictures, window creation, Scintilla set-up and the first paint.
3. The real program started with a 256 MB source: welcome closed until the main window shows,
   and the peak memory per source byte.

Times inside the programs come from Wine's own relay trace of a few routines (WINEDEBUG=+relay
with RelayInclude naming them, +timestamp): nothing in the program measures itself. Wine's
timestamps count milliseconds of the same monotonic clock (CLOCK_MONOTONIC_RAW) that this
script reads when it starts a program or presses a key, so both kinds of moments line up. The
Wine server is kept running, as it is while any Wine program runs.

Needs DISPLAY and the Wine set-up of dev/bench."""
import os
import re
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from ide import (MAIN_TITLE, OUT, SUFFIX, TOOLS, WELCOME_TITLE, WINE, Ide, console_text, focus, fresh_program_dir,  # noqa: E402
                 press, wait_for, windows_named, wine_path, xdotool)

TRIVIAL = os.path.join(OUT, "bench" + SUFFIX, "trivialwin.exe")
TRIVIAL_TITLE = "Trivial window"
RUNS = 5
# The routines whose calls and returns the trace shows; every other routine runs untraced.
TRACED = ["KERNEL32.AllocConsole", "KERNEL32.ReadFile", "KERNEL32.LoadLibraryA", "gdiplus.GdiplusShutdown",
          "gdiplus.GdipDrawImageRectI", "user32.CreateDialogIndirectParamA", "user32.DestroyWindow",
          "user32.LoadImageA", "user32.CreateWindowExA", "user32.SetWindowTextA", "user32.ShowWindow",
          "user32.EndPaint"]
DEBUG_KEY = r"HKCU\Software\Wine\Debug"
TRACE_ENV = dict(os.environ, WINEDEBUG="+timestamp,+pid,+relay")
# "1234.567:0020:0024:Call user32.ShowWindow(00030070,00000001) ret=00401f81"
# "1234.568:0020:0024:Ret  user32.ShowWindow() retval=00000000 ret=00401f81"
TRACE_LINE = re.compile(r"^(\d+\.\d+):([0-9a-f]+):([0-9a-f]+):(Call|Ret) +([A-Za-z0-9_]+)\.([A-Za-z0-9_]+)\((.*)$")
RETVAL = re.compile(r"retval=([0-9a-f]+)")


def now():
    """The clock of Wine's timestamps, in seconds."""
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


class Call:
    def __init__(self, start, name, args):
        self.start, self.name, self.args = start, name, args
        self.end = None
        self.result = None

    def first_arg(self):
        return self.args.split(",", 1)[0].split(")", 1)[0]

    def duration(self):
        return self.end - self.start


def read_trace(path):
    """The traced calls of every process, by process id, in the order they were made."""
    calls, open_calls = {}, {}
    with open(path, "rb") as f:
        for raw in f:
            match = TRACE_LINE.match(raw.decode("latin-1"))
            if not match:
                continue
            stamp, pid, tid, kind, _, name, rest = match.groups()
            stack = open_calls.setdefault((pid, tid), [])
            if kind == "Call":
                call = Call(float(stamp), name, rest)
                stack.append(call)
                calls.setdefault(pid, []).append(call)
                continue
            for i in range(len(stack) - 1, -1, -1):
                if stack[i].name == name:
                    call = stack.pop(i)
                    call.end = float(stamp)
                    result = RETVAL.search(rest)
                    call.result = result.group(1) if result else None
                    break
    return calls


def process_calling(calls, name, text=""):
    """The traced calls of the process that called name with text among its arguments."""
    for pid, made in calls.items():
        if any(c.name == name and text in c.args for c in made):
            return made
    return None


def first(made, name, text="", after=0.0, hwnd=None):
    """The first finished call of name at or after the moment after (with text among its
    arguments, or for the window hwnd)."""
    for call in made:
        if (call.name == name and call.start >= after and call.end is not None and text in call.args
                and (hwnd is None or call.first_arg() == hwnd)):
            return call
    return None


def trace_has(path, text):
    try:
        with open(path, "rb") as f:
            return text.encode() in f.read()
    except OSError:
        return False


def set_traced_routines():
    subprocess.run([WINE, "reg", "add", DEBUG_KEY, "/v", "RelayInclude", "/d", ";".join(TRACED), "/f"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120, check=True)


def clear_traced_routines():
    subprocess.run([WINE, "reg", "delete", DEBUG_KEY, "/v", "RelayInclude", "/f"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


def trivial_run(log_path):
    """Seconds from process start until the trivial program's window is painted."""
    with open(log_path, "wb") as log:
        started = now()
        process = subprocess.Popen([WINE, TRIVIAL], cwd=os.path.dirname(TRIVIAL), stdout=subprocess.DEVNULL,
                                   stderr=log, env=TRACE_ENV)
    try:
        window = wait_for(lambda: (windows_named(TRIVIAL_TITLE) or [None])[0], 60, "the trivial window")
        wait_for(lambda: trace_has(log_path, "Ret  user32.EndPaint"), 60, "the trivial window's paint")
        press(window, "alt+F4")
        process.wait(timeout=60)
    finally:
        if process.poll() is None:
            process.kill()
    made = process_calling(read_trace(log_path), "CreateWindowExA", '"trivial"')
    created = first(made, "CreateWindowExA", '"trivial"')
    painted = first(made, "EndPaint", after=created.end, hwnd=created.result)
    return painted.end - started


class IdeRun:
    """One traced start of the IDE with a small source; the moments of the whole start."""

    def __init__(self, folder, source, log_path):
        self.log_path = log_path
        with open(log_path, "wb") as log:
            self.started = now()
            self.process = subprocess.Popen([WINE, os.path.join(folder, "ZorvexIde.exe"), wine_path(source)],
                                            cwd=folder, stdout=subprocess.DEVNULL, stderr=log, env=TRACE_ENV)
        try:
            self.drive(folder)
        finally:
            if self.process.poll() is None:
                self.process.kill()
        self.made = process_calling(read_trace(log_path), "AllocConsole")

    def drive(self, folder):
        console = wait_for(lambda: (windows_named("ZorvexBasic") or [None])[0], 60, "the console window")
        wait_for(lambda: "Enter text to start.." in console_text(folder), 60, "the console prompt")
        self.answered = press_moment(console, "Return")
        dialog = wait_for(lambda: (windows_named(WELCOME_TITLE) or [None])[0], 60, "the welcome dialog")
        wait_for(lambda: trace_has(self.log_path, "Ret  user32.CreateDialogIndirectParamA"), 60, "the faded-in dialog")
        self.escaped = press_moment(dialog, "Escape")
        # Asked every 20 ms: asking faster would take the processor from the program timed.
        window = wait_for(lambda: (windows_named(MAIN_TITLE) or [None])[0], 60, "the main window", pause=0.02)
        wait_for(lambda: viewable(window), 60, "the main window on the screen", pause=0.02)
        self.mapped = now()
        # The window shows before its controls have painted: the editor's paint comes later.
        wait_for(lambda: self.editor_painted_in_trace(), 60, "the editor's first paint")
        press(window, "alt+F4")
        self.process.wait(timeout=60)

    def editor_painted_in_trace(self):
        made = process_calling(read_trace(self.log_path), "AllocConsole") or []
        editor = first(made, "CreateWindowExA", '"Scintilla"')
        return editor is not None and first(made, "EndPaint", after=editor.end, hwnd=editor.result) is not None

    def figures(self):
        """(name, seconds) of the whole start and of the steps after Esc."""
        c = self.made
        console = first(c, "AllocConsole")
        prompt = first(c, "ReadFile", after=console.end)
        dialog = first(c, "CreateDialogIndirectParamA", after=prompt.end)
        drawn = first(c, "GdipDrawImageRectI", after=dialog.start)
        closed = first(c, "DestroyWindow", after=dialog.end)
        shutdown = first(c, "GdiplusShutdown", after=closed.start)
        pictures = [call for call in c if call.name == "LoadImageA" and '"pix/' in call.args]
        main = first(c, "CreateWindowExA", '"wins"', after=shutdown.end)
        icon = first(c, "LoadImageA", "zitronenfalter.ico", after=main.start)
        library = first(c, "LoadLibraryA", "SciLexer.dll", after=main.start)
        editor = first(c, "CreateWindowExA", '"Scintilla"', after=main.start)
        titled = first(c, "SetWindowTextA", after=editor.end)
        shown = first(c, "ShowWindow", after=main.end, hwnd=main.result)
        painted = first(c, "EndPaint", after=shown.start, hwnd=editor.result)
        scintilla = library.duration() + (titled.start - editor.start)
        creation = shown.start - pictures[-1].end - scintilla - icon.duration()
        welcome_shown = max(dialog.end, drawn.end if drawn else dialog.end)
        return [
            ("process start -> console prompt waiting", prompt.start - self.started),
            ("answer (Return) -> welcome dialog shown with its picture", welcome_shown - self.answered),
            ("Esc -> main window showing the source", painted.end - self.escaped),
            ("  Esc reaching the dialog", closed.start - self.escaped),
            ("  the dialog closing, its loop ending", shutdown.start - closed.start),
            ("  GDI+ shut-down", shutdown.duration()),
            ("  zor_trend(9) and the About text", pictures[0].start - shutdown.end),
            ("  pictures (ten toolbar pictures, the icon)", pictures[-1].end - pictures[0].start + icon.duration()),
            ("  window creation (main window, buttons, boxes, menu, toolbar, status bar)", creation),
            ("  Scintilla set-up (library, editor, keywords, the source)", scintilla),
            ("  first paint (shown until the editor has painted the source)", painted.end - shown.start),
            ("Esc -> main window mapped on the X display (seen from outside)", self.mapped - self.escaped),
        ]


def viewable(window):
    """Whether the X window is mapped and all its ancestors too."""
    info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True, timeout=60).stdout
    return "IsViewable" in info


def press_moment(window, key):
    """Presses key once in the window once it has the focus; returns the moment of the press."""
    focus(window)
    moment = now()
    xdotool("key", key)
    return moment


def ide_run(number, logs):
    """The figures of one start in a fresh program folder with a small source."""
    folder = fresh_program_dir("startup-small")
    source = os.path.join(folder, "small.zobas")
    with open(source, "wb") as f:
        f.write(b"' a small source\r\ndim who as string\r\ninput \"Name? \", who\r\nprint \"Hello, \"; who\r\n")
    return IdeRun(folder, source, os.path.join(logs, f"ide-{number}.log")).figures()


def spread(values):
    values = sorted(values)
    return f"{statistics.median(values) * 1000:6.0f} ms   ({values[0] * 1000:.0f} to {values[-1] * 1000:.0f})"


def startup_figures():
    logs = os.path.join(OUT, "bench", "startup-traces")
    os.makedirs(logs, exist_ok=True)
    for command in (["wineserver", "-k"], ["wineserver", "-w"], ["wineserver", "-p"]):
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    set_traced_routines()
    try:
        trivial = [trivial_run(os.path.join(logs, f"trivial-{n}.log")) for n in range(RUNS + 2)]
        runs = [ide_run(n, logs) for n in range(RUNS)]
    finally:
        clear_traced_routines()
    print(f"start-up, median of {len(runs)} runs (fastest to slowest); the Wine server already running")
    print(f"  {'a trivial window program: process start -> its window painted':76} {spread(trivial)}")
    for i, (name, _) in enumerate(runs[0]):
        print(f"  {name:76} {spread([run[i][1] for run in runs])}")


def write_source(path, size):
    line_a = b"  total = total + needle(1) ' counted\r\n"
    line_b = b"  print \"value\", x * 2 + 17\r\n"
    block = (line_a + line_b * 2) * 4096
    with open(path, "wb") as f:
        written = 0
        while written < size:
            f.write(block)
            written += len(block)
    return os.path.getsize(path)


def peak_memory(program_dir):
    out = os.path.join(program_dir, "memory.txt")
    subprocess.run([WINE, os.path.join(TOOLS, "winpeek.exe"), "memory", "ZorvexIde.exe", wine_path(out)],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    with open(out) as f:
        return int(f.readline())


def big_source_figures():
    folder = fresh_program_dir("startup-bench")
    source = os.path.join(folder, "big.zobas")
    size = write_source(source, 256 << 20)
    ide = Ide(folder, args=[wine_path(source)])
    try:
        ide.answer_greeting()
        start = time.monotonic()
        window = ide.main_window(timeout=300)
        shown = time.monotonic() - start
        print(f"256 MB source: {size} bytes")
        print(f"start-up with it as the argument, welcome closed until the main window shows: "
              f"{shown * 1000:.0f} ms (polled every 100 ms)")
        print(f"  peak memory: {peak_memory(folder) / size:.2f} bytes per source byte")
        ide.close_main_window(window)
        ide.wait_exit(120)
    finally:
        ide.kill()
        os.remove(source)


def main():
    startup_figures()
    big_source_figures()
    return 0


if __name__ == "__main__":
    sys.exit(main())
