#!/usr/bin/env python3
"""Benchmark: the real ZorvexIde.exe started under Wine with a 256 MB source as its argument.
Prints the time from the welcome dialog's close to the main window showing with the text, and
the program's peak memory per source byte then. Needs DISPLAY and the Wine set-up of dev/bench."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from ide import TOOLS, Ide, fresh_program_dir, wait_for, wine_path  # noqa: E402


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
    subprocess.run(["wine", os.path.join(TOOLS, "winpeek.exe"), "memory", "ZorvexIde.exe", wine_path(out)],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    with open(out) as f:
        return int(f.readline())


def main():
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


if __name__ == "__main__":
    sys.exit(main())
