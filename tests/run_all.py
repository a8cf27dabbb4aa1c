#!/usr/bin/env python3
"""Runs the test layers and prints one closing line: N passed, N failed.

Layers: unit (native unit tests), asan (the same under AddressSanitizer and
UndefinedBehaviorSanitizer), fuzz (a short pass of every fuzz target, one count each),
win (Windows tests under Wine, and those of a 144-dpi display again at that scale), e2e
(end-to-end tests of the real program). The Windows and
end-to-end tests are built for both programs and run against the 64-bit one (win64, e2e64) on
every host and against the 32-bit one (win32, e2e32) where the host runs 32-bit code; a layer
the host cannot run is named in one line and counted neither passed nor failed. "win" and
"e2e" name both of their layers; where both programs are tested, their two layers run side by
side, each on its own X display and in its own Wine prefix, and their output shows in turn.
Expects the builds in out/ and, for the Windows layers, DISPLAY and the Wine
environment set by dev/test.
"""
import json
import os
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.environ.get("ZOR_OUT") or os.path.join(ROOT, "out")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import arch  # noqa: E402  (which program a Windows-side layer drives, and how)


def gtest_counts(xml_path):
    """Passed and failed counts from a GoogleTest XML report; (0, 1) when it is missing."""
    try:
        suites = ET.parse(xml_path).getroot()
    except (OSError, ET.ParseError):
        return 0, 1
    failed = sum(1 for case in suites.iter("testcase") if case.find("failure") is not None)
    ran = sum(1 for case in suites.iter("testcase") if case.get("result", "completed") == "completed"
              and case.get("status", "run") == "run")
    return ran - failed, failed


def run_gtest(title, command, cwd, xml_name, timeout, extra_env=None):
    print(f"== {title}", flush=True)
    xml_path = os.path.join(cwd, xml_name)
    if os.path.exists(xml_path):
        os.remove(xml_path)
    try:
        # The report is asked for through the environment, so the test programs' command lines
        # stay bare: the Windows tests create the IDE's main window, which reads its command line.
        env = dict(os.environ, GTEST_OUTPUT=f"xml:{xml_name}", **(extra_env or {}))
        code = subprocess.run(command, cwd=cwd, timeout=timeout, env=env).returncode
    except subprocess.TimeoutExpired:
        print(f"{title}: timed out after {timeout} s", flush=True)
        code = -1
    passed, failed = gtest_counts(xml_path)
    if code != 0 and failed == 0:
        failed = 1  # a crash or time-out counts as a failure even if the report looks clean
    print(f"{title}: {passed} passed, {failed} failed", flush=True)
    return passed, failed


def e2e_suite(counts_file):
    """Runs the end-to-end tests in this process, against the program the environment names,
    and writes the passed and failed counts to counts_file."""
    suite = unittest.defaultTestLoader.discover(os.path.join(ROOT, "tests", "e2e"), pattern="test_*.py",
                                                top_level_dir=os.path.join(ROOT, "tests", "e2e"))
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    failed = len(result.failures) + len(result.errors)
    passed = result.testsRun - failed - len(result.skipped)
    with open(counts_file, "w") as f:
        json.dump([passed, failed], f)
    return 0


def run_e2e(bits):
    title = f"end-to-end tests ({bits}-bit)"
    print(f"== {title}", flush=True)
    # A process of its own for each program: the tests read the program they drive from the
    # environment when they are loaded.
    with tempfile.TemporaryDirectory() as work:
        counts = os.path.join(work, "counts.json")
        env = dict(os.environ, **arch.environment(bits))
        code = subprocess.run([sys.executable, os.path.abspath(__file__), "--e2e-suite", counts], env=env).returncode
        try:
            with open(counts) as f:
                passed, failed = json.load(f)
        except (OSError, ValueError):
            passed, failed = 0, 0
    if code != 0 and failed == 0:
        failed = 1
    print(f"{title}: {passed} passed, {failed} failed", flush=True)
    return passed, failed


def run_fuzz():
    print("== short fuzz pass", flush=True)
    sys.path.insert(0, os.path.join(ROOT, "tests", "fuzz"))
    import fuzzing
    passed, failed = fuzzing.short_pass()
    print(f"short fuzz pass: {passed} passed, {failed} failed", flush=True)
    return passed, failed


def run_unit():
    return run_gtest("unit tests", [os.path.join(OUT, "tests", "unittests")], os.path.join(OUT, "tests"),
                     "unittests.xml", 600)


def run_asan():
    sys.path.insert(0, os.path.join(ROOT, "tests", "fuzz"))
    from fuzzing import SANITIZER_ENV
    return run_gtest("sanitized unit tests", [os.path.join(OUT, "tests-asan", "unittests")],
                     os.path.join(OUT, "tests-asan"), "unittests.xml", 600, SANITIZER_ENV)


def run_win(bits):
    env = arch.environment(bits)
    folder = os.path.join(OUT, "wintests" + arch.suffix(bits))
    passed, failed = run_gtest(f"Windows tests ({bits}-bit)", [env["ZOR_WINE"], "wintests.exe"], folder,
                               "wintests.xml", 1200, env)
    # The tests of a display of 144 dpi (named At144Dpi..., skipped above) run again with Wine's
    # display scale at 144 for the run.
    sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
    from display import display_dpi
    with display_dpi(144, dict(os.environ, **env)):
        more_passed, more_failed = run_gtest(f"Windows tests at 144 dpi ({bits}-bit)", [env["ZOR_WINE"], "wintests.exe"],
                                             folder, "wintests-144dpi.xml", 600, dict(env, GTEST_FILTER="*At144Dpi*"))
    return passed + more_passed, failed + more_failed


def needs_32bit(run, title):
    """The layer where the host runs 32-bit code; elsewhere one line that says why not."""
    def layer():
        if arch.host_runs_32bit():
            return run()
        print(f"== {title}: {arch.NO_32_BIT}", flush=True)
        return 0, 0
    return layer


# The layers in the order they run; each gives its passed and failed counts.
LAYERS = [("unit", run_unit), ("asan", run_asan), ("fuzz", run_fuzz),
          ("win64", lambda: run_win(64)), ("win32", needs_32bit(lambda: run_win(32), "Windows tests (32-bit)")),
          ("e2e64", lambda: run_e2e(64)), ("e2e32", needs_32bit(lambda: run_e2e(32), "end-to-end tests (32-bit)"))]
# Names that stand for several layers.
GROUPS = {"win": ["win64", "win32"], "e2e": ["e2e64", "e2e32"]}
# The two programs' layers that run side by side where the host runs both, each on an X display
# and in a Wine prefix of its own: the 32-bit program's on the display ZOR_DISPLAY2.
PAIRS = [("win64", "win32"), ("e2e64", "e2e32")]


def run_layer(name, counts_file):
    """Runs one layer in this process and writes its passed and failed counts to counts_file."""
    with open(counts_file, "w") as f:
        json.dump(dict(LAYERS)[name](), f)
    return 0


def run_side_by_side(names):
    """Runs the layers at the same time, each in a process of its own with its output kept in a
    file, then shows each one's output in turn; returns their summed counts."""
    displays = [os.environ["DISPLAY"], os.environ["ZOR_DISPLAY2"]]
    total = [0, 0]
    with tempfile.TemporaryDirectory() as work:
        running = []
        for name, display in zip(names, displays):
            log = open(os.path.join(work, name + ".log"), "w+b")
            counts = os.path.join(work, name + ".json")
            process = subprocess.Popen([sys.executable, os.path.abspath(__file__), "--layer", name, counts],
                                       env=dict(os.environ, DISPLAY=display), stdout=log, stderr=subprocess.STDOUT)
            running.append((name, process, log, counts))
        for name, process, log, counts in running:
            code = process.wait()
            log.seek(0)
            sys.stdout.flush()
            sys.stdout.buffer.write(log.read())
            sys.stdout.buffer.flush()
            log.close()
            try:
                with open(counts) as f:
                    passed, failed = json.load(f)
            except (OSError, ValueError):
                passed, failed = 0, 1
                print(f"{name}: ended with {code} before it gave its counts", flush=True)
            total[0] += passed
            total[1] += failed
    return tuple(total)


def main():
    if sys.argv[1:2] == ["--e2e-suite"]:
        return e2e_suite(sys.argv[2])
    if sys.argv[1:2] == ["--layer"]:
        return run_layer(sys.argv[2], sys.argv[3])
    names = [name for name, _ in LAYERS]
    layers = [layer for arg in sys.argv[1:] for layer in GROUPS.get(arg, [arg])] or names
    unknown = [name for name in layers if name not in names]
    if unknown:
        print(f"run_all: unknown layer {unknown[0]} (layers: {', '.join(names)}, win, e2e)", file=sys.stderr)
        return 2
    side_by_side = arch.host_runs_32bit() and os.environ.get("ZOR_DISPLAY2")
    total_passed = total_failed = 0
    done = set()
    for name, run in LAYERS:
        if name not in layers or name in done:
            continue
        pair = next((p for p in PAIRS if name in p and all(n in layers for n in p)), None)
        started = time.monotonic()
        if pair and side_by_side:
            passed, failed = run_side_by_side(pair)
            done.update(pair)
            name = " and ".join(pair) + " (side by side)"
        else:
            passed, failed = run()
        print(f"-- {name} took {time.monotonic() - started:.0f} s", flush=True)
        total_passed += passed
        total_failed += failed
    print(f"{total_passed} passed, {total_failed} failed", flush=True)
    return 0 if total_failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
