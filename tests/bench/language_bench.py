#!/usr/bin/env python3
"""Benchmark of the Zorvex Basic toolchain under Wine: three programs run by zor5.exe and the
same programs in Python (inside a function, Python's fastest form) by the machine's python3, the start-up time of a run of "print 1",
and the compiler library's answers on large sources (querybench.exe). Prints figures only.

Expects the builds in out/ and the Wine environment and display set by dev/bench."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.environ.get("ZOR_OUT") or os.path.join(ROOT, "out")
DIST = os.path.join(OUT, "dist")
sys.path.insert(0, os.path.join(ROOT, "package"))
from make_package import copy_program  # noqa: E402

PROGRAMS = [
    ("sum of 10,000,000 numbers",
     "dim total as float\nfor i = 1 to 10000000\n  total = total + i\nnext\nprint total\n",
     "def main():\n    total = 0.0\n    for i in range(1, 10000001):\n        total = total + i\n    print(int(total))\nmain()\n"),
    ("a 1,000,000-character string built piece by piece",
     "dim s as string\nfor i = 1 to 1000000\n  s = s & \"x\"\nnext\nprint len(s)\n",
     "def main():\n    s = ''\n    for i in range(1000000):\n        s = s + 'x'\n    print(len(s))\nmain()\n"),
    ("recursive Fibonacci of 27",
     "function fib(n as int) as int\n  if n < 2 then return n\n  return fib(n - 1) + fib(n - 2)\nend function\nprint fib(27)\n",
     "def fib(n):\n    if n < 2:\n        return n\n    return fib(n - 1) + fib(n - 2)\nprint(fib(27))\n"),
]


def timed(command, cwd):
    """Seconds from start to exit, and the output. The output goes to a file, not a pipe: with
    a wineserver that stays up, Wine's helper processes would hold a pipe open."""
    out = os.path.join(cwd, "output.txt")
    with open(out, "wb") as f:
        start = time.perf_counter()
        # No time-out: with one, the wait polls with growing pauses and the figures come out
        # in steps of those pauses.
        subprocess.run(command, cwd=cwd, stdin=subprocess.DEVNULL, stdout=f, stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
    with open(out, "rb") as f:
        return elapsed, f.read().decode("cp1252", "replace").strip()


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    # A copy of the program folder: what the runs write stays out of out/dist.
    program = os.path.join(OUT, "bench", "language")
    shutil.rmtree(program, ignore_errors=True)
    copy_program(DIST, program)
    zor5 = os.path.join(program, "zor5.exe")
    with tempfile.TemporaryDirectory(dir=OUT) as work:
        # A wineserver that stays up, as it does while the IDE runs, so each run is timed
        # without Wine's own start-up (dev/bench stops it at the end).
        subprocess.run(["wineserver", "-p"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
        timed(["wine", zor5, "--help"], work)
        print("program (best of 3 runs)                             zor5.exe   python3   output")
        for title, basic, python in PROGRAMS:
            bas = os.path.join(work, "bench.zobas")
            py = os.path.join(work, "bench.py")
            with open(bas, "w") as f:
                f.write(basic)
            with open(py, "w") as f:
                f.write(python)
            # The best of three runs each: the machine may be busy with other work.
            zruns = [timed(["wine", zor5, wine_path(bas)], work) for _ in range(3)]
            pruns = [timed([sys.executable, py], work) for _ in range(3)]
            zt, zout = min(zruns)
            pt, pout = min(pruns)
            same = "same" if zout == pout else f"differs: {zout!r} / {pout!r}"
            print(f"{title:52} {zt:7.3f} s {pt:7.3f} s   {same}")
        one = os.path.join(work, "one.zobas")
        with open(one, "w") as f:
            f.write("print 1\n")
        runs = [timed(["wine", zor5, wine_path(one)], work)[0] for _ in range(5)]
        print(f"start-up: zor5.exe on \"print 1\", process start to exit: best {min(runs):.3f} s, worst {max(runs):.3f} s of 5")
    bench = os.path.join(OUT, "bench", "querybench.exe")
    if os.path.exists(bench):
        subprocess.run(["wine", bench], cwd=program, stdin=subprocess.DEVNULL, timeout=600)
    else:
        print("querybench.exe was not built")
    return 0


if __name__ == "__main__":
    sys.exit(main())
