#!/usr/bin/env python3
"""Runs the test layers and prints one closing line: N passed, N failed.

Layers: unit (native unit tests), asan (the same under AddressSanitizer and
UndefinedBehaviorSanitizer), fuzz (a short pass of every fuzz target, one count each),
win (Windows tests under Wine, and those of a 144-dpi display again at that scale), e2e
(end-to-end tests of the real program).
Expects the builds in out/ and, for the Windows layers, DISPLAY and the Wine
environment set by dev/test.
"""
import os
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.environ.get("ZOR_OUT") or os.path.join(ROOT, "out")


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


def run_e2e():
    print("== end-to-end tests", flush=True)
    suite = unittest.defaultTestLoader.discover(os.path.join(ROOT, "tests", "e2e"), pattern="test_*.py",
                                                top_level_dir=os.path.join(ROOT, "tests", "e2e"))
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    failed = len(result.failures) + len(result.errors)
    passed = result.testsRun - failed - len(result.skipped)
    print(f"end-to-end tests: {passed} passed, {failed} failed", flush=True)
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


def run_win():
    folder = os.path.join(OUT, "wintests")
    passed, failed = run_gtest("Windows tests", ["wine", "wintests.exe"], folder, "wintests.xml", 1200)
    # The tests of a display of 144 dpi (named At144Dpi..., skipped above) run again with Wine's
    # display scale at 144 for the run.
    sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
    from display import display_dpi
    with display_dpi(144):
        more_passed, more_failed = run_gtest("Windows tests at 144 dpi", ["wine", "wintests.exe"], folder,
                                             "wintests-144dpi.xml", 600, {"GTEST_FILTER": "*At144Dpi*"})
    return passed + more_passed, failed + more_failed


# The layers in the order they run; each gives its passed and failed counts.
LAYERS = [("unit", run_unit), ("asan", run_asan), ("fuzz", run_fuzz), ("win", run_win), ("e2e", run_e2e)]


def main():
    layers = sys.argv[1:] or [name for name, _ in LAYERS]
    total_passed = total_failed = 0
    for name, run in LAYERS:
        if name in layers:
            passed, failed = run()
            total_passed += passed
            total_failed += failed
    print(f"{total_passed} passed, {total_failed} failed", flush=True)
    return 0 if total_failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
