#!/usr/bin/env python3
"""Benchmark of find in files (Ctrl+F7): a generated tree of 2,000 sources (about 40 MB in 40
folders) searched for a word by the IDE's command under Wine (findfilesbench.exe: from the
command until the listing is painted) and by `grep -rniw` on the same tree, in the same run.
Prints the best and middle of five runs of each, their ratio, the files per second and the peak
memory of each, for a rare word and a common one, and how long the listing panel takes to show
the listing alone. Expects the builds in out/ and the Wine environment and display that
dev/bench sets."""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from arch import OUT, SUFFIX, WINE  # noqa: E402  (the program dev/bench runs: 32-bit or 64-bit)

BENCH = os.path.join(OUT, "bench" + SUFFIX)
PROGRAM = os.path.join(BENCH, "program")
TREE = os.path.join(OUT, "bench", "findtree")
FOLDERS, FILES_PER_FOLDER, FILE_BYTES = 40, 50, 20 * 1024
# A word as rare as a name used in a few places of a project, and a common one.
WORDS = [("rarity", 4000), ("needle", 400)]
RUNS = 5


def source(seed):
    """About FILE_BYTES of source; one line in 4000 holds "rarity" and one in 400 "needle" (in
    some letter case); others hold words that only contain them."""
    lines, size, n = [], 0, seed
    while size < FILE_BYTES:
        n += 1
        if (n * 7919 + seed) % 4000 == 0:
            line = "  call Rarity(%d) ' the rare word\r\n" % n
        elif n % 400 == 0:
            line = "  total = total + %s(%d) ' the word\r\n" % (("needle", "Needle", "NEEDLE")[n % 3], n)
        elif n % 97 == 0:
            line = "  needles = subneedle + rarityx + %d\r\n" % n
        else:
            line = "  print \"value\", x%d * 2 + %d\r\n" % (n % 89, n)
        lines.append(line)
        size += len(line)
    return "".join(lines).encode()


def make_tree():
    if os.path.exists(os.path.join(TREE, "done-3")):
        return
    shutil.rmtree(TREE, ignore_errors=True)
    for f in range(FOLDERS):
        folder = os.path.join(TREE, "part%02d" % f)
        os.makedirs(folder, exist_ok=True)
        for k in range(FILES_PER_FOLDER):
            with open(os.path.join(folder, "unit%02d.%s" % (k, ("bas", "zobas", "inc")[k % 3])), "wb") as out:
                out.write(source(f * 1000 + k * 7))
    open(os.path.join(TREE, "done-3"), "w").close()


def grep_runs(word):
    """(seconds of each run, matching lines, peak memory in MB) of grep -rniw on the tree."""
    times, lines, peak = [], 0, 0.0
    for _ in range(RUNS):
        start = time.perf_counter()
        process = subprocess.Popen(["grep", "-rniw", word, TREE], stdout=subprocess.PIPE)
        output = process.stdout.read()  # read, not sent to /dev/null, which grep would stop at the first match for
        _, _, usage = os.wait4(process.pid, 0)
        times.append(time.perf_counter() - start)
        lines = output.count(b"\n")
        peak = max(peak, usage.ru_maxrss / 1024)
    return sorted(times), lines, peak


def ide_runs(word):
    """(best, middle, worst seconds, peak memory in MB, seconds the listing panel takes to show
    the listing, summary line) of the IDE's command."""
    document = "Z:" + os.path.join(TREE, "main.bas").replace("/", "\\")
    result = subprocess.run([WINE, os.path.join(BENCH, "findfilesbench.exe"), document, word, str(RUNS)],
                            cwd=PROGRAM, capture_output=True, text=True, timeout=600)
    fields = result.stdout.split(None, 6)
    if len(fields) < 7 or fields[0] != "ide":
        sys.exit("findfilesbench failed: " + result.stdout + result.stderr)
    return float(fields[1]), float(fields[2]), float(fields[3]), float(fields[4]), float(fields[5]), fields[6].strip()


def main():
    make_tree()
    files = sum(len(names) for _, _, names in os.walk(TREE)) - 1
    megabytes = sum(os.path.getsize(os.path.join(top, n)) for top, _, names in os.walk(TREE) for n in names) / 2**20
    print(f"tree: {files} sources, {megabytes:.1f} MB in {FOLDERS} folders")
    print(f"{'':34}{'best':>10}{'middle':>10}{'files/s':>10}{'peak MB':>10}  found")
    for word, _ in WORDS:
        grep_times, grep_lines, grep_peak = grep_runs(word)
        best, middle, worst, peak, display, summary = ide_runs(word)
        print(f"{'Ctrl+F7 ' + word + ' (IDE, Wine)':34}{best * 1000:8.0f}ms{middle * 1000:8.0f}ms{files / middle:10.0f}"
              f"{peak:10.1f}  {summary}")
        print(f"{'grep -rniw ' + word:34}{grep_times[0] * 1000:8.0f}ms{grep_times[RUNS // 2] * 1000:8.0f}ms"
              f"{files / grep_times[RUNS // 2]:10.0f}{grep_peak:10.1f}  {grep_lines} lines")
        print(f"  ratio of the middle times (IDE / grep): {middle / grep_times[RUNS // 2]:.2f} (goal: at most 3); "
              f"the listing panel alone takes {display * 1000:.0f} ms to show the listing")


if __name__ == "__main__":
    main()
