#!/usr/bin/env python3
"""Benchmark of the Zorvex Basic toolchain under Wine: six programs run by zor5.exe side by side
with the same programs run by the machine's python3 (inside a function, Python's fastest form),
yabasic and brandy (BBC BASIC). Each row shows, for the best of three runs of each, the time from
start to exit, the processor time it took, the ratio of that processor time to zor5.exe's and
its peak memory; then a loop over an array of 1,000,000 records beside the same loop over an array
of ints, with the goal they are held to; then the start-up time of a run of "print 1", and the compiler library's answers
on large sources (querybench.exe). Prints figures only.

The ratios compare processor time, not the time to exit: on a machine that runs other work as
well, a run waits for the processor by chance, and the time to exit shows it.

Expects the builds in out/ and the Wine environment and display set by dev/bench, which also
installs yabasic and brandy; a competitor that is missing is left out of the table."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "package"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from arch import OUT, SUFFIX, WINE  # noqa: E402  (the program dev/bench runs: 32-bit or 64-bit)
from make_package import copy_program  # noqa: E402

DIST = os.path.join(OUT, "dist" + SUFFIX)
BENCH = os.path.join(OUT, "bench" + SUFFIX)

# Each row: its title, then the program in Zorvex Basic, Python, yabasic and BBC BASIC (brandy).
# brandy writes its text to its own screen; *SPOOL copies it into the file that is compared.
ROWS = [
    ("sum of 10,000,000 numbers",
     "dim total as float\nfor i = 1 to 10000000\n  total = total + i\nnext\nprint total\n",
     "def main():\n    total = 0.0\n    for i in range(1, 10000001):\n        total = total + i\n    print(int(total))\nmain()\n",
     "total = 0\nfor i = 1 to 10000000\n  total = total + i\nnext\nprint str$(total, \"%.0f\")\n",
     "total = 0\nFOR I% = 1 TO 10000000\n  total = total + I%\nNEXT\nPRINT total\n"),
    ("recursive fib(27)",
     "function fib(n as int) as int\n  if n < 2 then return n\n  return fib(n - 1) + fib(n - 2)\nend function\nprint fib(27)\n",
     "def fib(n):\n    if n < 2:\n        return n\n    return fib(n - 1) + fib(n - 2)\nprint(fib(27))\n",
     "sub fib(n)\n  if n < 2 return n\n  return fib(n - 1) + fib(n - 2)\nend sub\nprint fib(27)\n",
     "PRINT FNfib(27)\nEND\nDEF FNfib(N%)\nIF N% < 2 THEN =N%\n=FNfib(N% - 1) + FNfib(N% - 2)\n"),
    ("sieve of Eratosthenes to 2,000,000",
     "const n = 2000000\ndim composite(n) as bool\ndim count as int\nfor i = 2 to n\n  if not composite(i) then\n"
     "    count = count + 1\n    if i <= n \\ i then\n      for j = i * i to n step i\n        composite(j) = true\n      next\n"
     "    end if\n  end if\nnext\nprint count\n",
     "def main():\n    n = 2000000\n    composite = [False] * (n + 1)\n    count = 0\n    for i in range(2, n + 1):\n"
     "        if not composite[i]:\n            count += 1\n            if i * i <= n:\n"
     "                for j in range(i * i, n + 1, i):\n                    composite[j] = True\n    print(count)\nmain()\n",
     "n = 2000000\ndim c(n)\ncount = 0\nfor i = 2 to n\n  if not c(i) then\n    count = count + 1\n    if i * i <= n then\n"
     "      for j = i * i to n step i\n        c(j) = 1\n      next\n    end if\n  end if\nnext\nprint count\n",
     "N% = 2000000\nDIM C%(N%)\ncount% = 0\nFOR I% = 2 TO N%\n  IF C%(I%) = 0 THEN\n    count% = count% + 1\n"
     "    IF I% <= N% DIV I% THEN\n      FOR J% = I% * I% TO N% STEP I%\n        C%(J%) = 1\n      NEXT\n    ENDIF\n"
     "  ENDIF\nNEXT\nPRINT count%\n"),
    ("1000 x 1000 floating-point loop",
     "dim x as float\nfor i = 1 to 1000\n  for j = 1 to 1000\n    x = x + (i * j) / (i + j)\n  next\nnext\nprint x\n",
     "def main():\n    x = 0.0\n    for i in range(1, 1001):\n        for j in range(1, 1001):\n            x = x + (i * j) / (i + j)\n"
     "    print(repr(x))\nmain()\n",
     "x = 0\nfor i = 1 to 1000\n  for j = 1 to 1000\n    x = x + (i * j) / (i + j)\n  next\nnext\nprint str$(x, \"%.17g\")\n",
     "x = 0\nFOR I% = 1 TO 1000\n  FOR J% = 1 TO 1000\n    x = x + (I% * J%) / (I% + J%)\n  NEXT\nNEXT\n@% = &1110\nPRINT x\n"),
    ("1,000,000-character string, piece by piece",
     "dim s as string\nfor i = 1 to 1000000\n  s = s & \"x\"\nnext\nprint len(s)\n",
     "def main():\n    s = ''\n    for i in range(1000000):\n        s = s + 'x'\n    print(len(s))\nmain()\n",
     "s$ = \"\"\nfor i = 1 to 1000000\n  s$ = s$ + \"x\"\nnext\nprint len(s$)\n",
     None),  # BBC BASIC strings hold at most 65,535 characters
    ("printing 200,000 lines",
     "for i = 1 to 200000\n  print \"line \"; i\nnext\n",
     "def main():\n    for i in range(1, 200001):\n        print('line', i)\nmain()\n",
     "for i = 1 to 200000\n  print \"line \", i\nnext\n",
     "FOR I% = 1 TO 200000\n  PRINT \"line \"; I%\nNEXT\n"),
]
COMPETITORS = ["python3", "yabasic", "brandy"]

# An array of records against an array of ints: the same loop setting one value of each element.
RECORDS = ("type point\n  x as int\n  y as int\nend type\ndim r(1000000) as point\nfor i = 1 to 1000000\n  r(i).x = i\nnext\n"
           "print r(1000000).x\n")
INTS = "dim v(1000000) as int\nfor i = 1 to 1000000\n  v(i) = i\nnext\nprint v(1000000)\n"
RECORDS_GOAL_RATIO = 3
RECORDS_GOAL_MB = 40
NOT_RUN = {("brandy", 4): "its strings hold at most 65,535 characters"}


# A competitor's run is stopped after this many seconds (yabasic copies its whole string at
# every join, so building a million characters takes it minutes).
LIMIT = 60


def run(command, cwd, out_file, limit=None):
    """Seconds from start to exit, processor seconds (user and system) and the peak resident
    memory in MB of the program (its process and the processes it waited for); None for the
    seconds when it was stopped at the limit. The output goes to a file, not a pipe: with a wineserver that stays up, Wine's
    helper processes would hold a pipe open. The exit is awaited without polling, so the time
    comes out exact rather than in steps of a polling pause."""
    with open(out_file, "wb") as f:
        start = time.perf_counter()
        child = subprocess.Popen(command, cwd=cwd, stdin=subprocess.DEVNULL, stdout=f, stderr=subprocess.DEVNULL)
        stopper = threading.Timer(limit, child.kill) if limit else None
        if stopper:
            stopper.start()
        _, status, usage = os.wait4(child.pid, 0)
        elapsed = time.perf_counter() - start
        if stopper:
            stopper.cancel()
        child.returncode = os.waitstatus_to_exitcode(status)
    stopped = limit is not None and elapsed >= limit
    return (None if stopped else elapsed), usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024


def numbers(text):
    """The numbers and words of an output, numbers as floats, so that outputs that differ only
    in layout (BBC BASIC's right-aligned fields, exponent forms) compare equal."""
    tokens = []
    for word in re.split(r"\s+", text.strip()):
        try:
            tokens.append(float(word))
        except ValueError:
            tokens.append(word)
    return tokens


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Runner:
    def __init__(self, work, program):
        self.work = work
        self.zor5 = os.path.join(program, "zor5.exe")

    def command(self, who, source):
        if who == "zor5.exe":
            return [WINE, self.zor5, wine_path(source)]
        if who == "python3":
            return [sys.executable, source]
        if who == "yabasic":
            return ["yabasic", source]
        return ["brandy", "-quit", source]

    def best_of_three(self, who, text):
        """The best time of three runs (the machine may be busy with other work), the peak
        memory of that run, and what the program wrote."""
        ext = {"zor5.exe": ".zobas", "python3": ".py", "yabasic": ".yab", "brandy": ".bas"}[who]
        source = os.path.join(self.work, "bench" + ext)
        out = os.path.join(self.work, "output.txt")
        if who == "brandy":
            text = "*SPOOL " + out + "\n" + text.replace("\nEND\n", "\n*SPOOL\nEND\n", 1)
            if "*SPOOL\nEND" not in text:
                text += "*SPOOL\n"
        with open(source, "w") as f:
            f.write(text)
        runs = []
        for _ in range(3):
            if os.path.exists(out):
                os.remove(out)
            seconds, cpu, mb = run(self.command(who, source), self.work, out if who != "brandy" else os.devnull,
                                   None if who == "zor5.exe" else LIMIT)
            if seconds is None:
                return None, None, mb, ""
            runs.append((cpu, seconds, mb))
        cpu, seconds, mb = min(runs)
        with open(out, "rb") as f:
            return seconds, cpu, mb, f.read().decode("cp1252", "replace")


def records_row(runner):
    """The 1,000,000-record loop beside the same loop on ints, and whether it meets its goal."""
    rwall, rcpu, rmb, rout = runner.best_of_three("zor5.exe", RECORDS)
    iwall, icpu, imb, iout = runner.best_of_three("zor5.exe", INTS)
    ratio = rcpu / max(icpu, 0.001)
    met = ratio <= RECORDS_GOAL_RATIO and rmb <= RECORDS_GOAL_MB
    print(f"{'1,000,000 records, one field set in each':44} {rwall:5.2f}/{rcpu:5.2f} s {rmb:4.0f} MB"
          f"   the same loop on ints {iwall:5.2f}/{icpu:5.2f} s {imb:4.0f} MB: x{ratio:4.1f} the ints' time"
          f"  (goal: at most x{RECORDS_GOAL_RATIO} and {RECORDS_GOAL_MB} MB: {'met' if met else 'missed'})"
          + ("" if rout.strip() == iout.strip() == "1000000" else f"  wrong output: {rout.strip()!r} {iout.strip()!r}"))


def main():
    present = [c for c in COMPETITORS if shutil.which(c) or c == "python3"]
    missing = [c for c in COMPETITORS if c not in present]
    # brandy draws its screen with SDL: the dummy driver keeps it off the display.
    os.environ["SDL_VIDEODRIVER"] = "dummy"
    # A copy of the program folder: what the runs write stays out of out/dist.
    program = os.path.join(BENCH, "language")
    shutil.rmtree(program, ignore_errors=True)
    copy_program(DIST, program)
    with tempfile.TemporaryDirectory(dir=OUT) as work:
        # A wineserver that stays up, as it does while the IDE runs, so each run is timed
        # without Wine's own start-up (dev/bench stops it at the end).
        subprocess.run(["wineserver", "-p"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
        runner = Runner(work, program)
        run([WINE, runner.zor5, "--help"], work, os.path.join(work, "help.txt"))
        print("Best of 3 runs each: seconds to exit / processor seconds, x = its processor time / zor5.exe's")
        print("(above 1: zor5.exe is faster), peak memory in MB. zor5.exe runs under Wine; the others natively.")
        head = f"{'program':44} {'zor5.exe':>20}"
        for c in present:
            head += f" {c:>27}"
        print(head + "  output")
        for index, (title, *sources) in enumerate(ROWS):
            zwall, zt, zmb, zout = runner.best_of_three("zor5.exe", sources[0])
            zt = max(zt, 0.001)
            line = f"{title:44} {zwall:5.2f}/{zt:5.2f} s {zmb:4.0f} MB"
            verdict = []
            for c in present:
                text = sources[1 + COMPETITORS.index(c)]
                if text is None:
                    line += f" {'not run':>27}"
                    verdict.append(f"{c}: {NOT_RUN[(c, index)]}")
                    continue
                wall, t, mb, out = runner.best_of_three(c, text)
                if wall is None:
                    line += f" {'over ' + str(LIMIT) + ' s':>27}"
                    continue
                line += f" {wall:5.2f}/{t:5.2f} s x{t / zt:5.1f} {mb:4.0f} MB"
                if numbers(out) != numbers(zout):
                    verdict.append(f"{c} differs: {out.strip()[-40:]!r}")
            print(line + "  " + ("; ".join(verdict) if verdict else "same"))
        if missing:
            print("not installed, so not run: " + ", ".join(missing))
        records_row(runner)
        one = os.path.join(work, "one.zobas")
        with open(one, "w") as f:
            f.write("print 1\n")
        times = [run([WINE, runner.zor5, wine_path(one)], work, os.path.join(work, "one.txt"))[0] for _ in range(5)]
        print(f"start-up: zor5.exe on \"print 1\", process start to exit: best {min(times):.3f} s, worst {max(times):.3f} s of 5")
    bench = os.path.join(BENCH, "querybench.exe")
    if os.path.exists(bench):
        subprocess.run([WINE, bench], cwd=program, stdin=subprocess.DEVNULL, timeout=600)
    else:
        print("querybench.exe was not built")
    return 0


if __name__ == "__main__":
    sys.exit(main())
