"""Runs the fuzz targets of targets.txt: the long runs of dev/fuzz and the short pass of ./dev/test.

Each run reads the target's seeds (corpus/<name>/) and kept findings (regressions/<name>/),
writes the inputs it learns into a working corpus and a finding into a findings folder.
"""
import os
import re
import shutil
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
OUT = os.environ.get("ZOR_OUT") or os.path.join(ROOT, "out")
# Every sanitizer finding ends the run; a leak is a finding too.
SANITIZER_ENV = {"ASAN_OPTIONS": "detect_leaks=1:abort_on_error=0",
                 "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1"}


def targets():
    """The target names, in the order of targets.txt."""
    with open(os.path.join(HERE, "targets.txt"), encoding="utf-8") as table:
        return [line.split()[0] for line in table if re.match(r"[a-z]", line)]


def _executions(log):
    """The executions a libFuzzer log reports: its final statistics, else its last status line."""
    found = re.findall(r"stat::number_of_executed_units: (\d+)", log)
    if found:
        return int(found[-1])
    found = re.findall(r"^#(\d+)\s", log, re.MULTILINE)
    return int(found[-1]) if found else 0


def _what_broke(log):
    """One line saying what the finding is."""
    for pattern in (r"property broken: .*", r"runtime error: .*", r"ERROR: AddressSanitizer: [\w-]+",
                    r"ERROR: LeakSanitizer: .*", r"ERROR: libFuzzer: [\w -]+"):
        match = re.search(pattern, log)
        if match:
            return match.group(0).strip()
    return "the target failed"


def run_target(name, seconds, work, findings, log_path, seed=None):
    """Fuzzes one target for seconds; returns (executions, finding), finding None when nothing
    was found. work is the corpus it grows; findings the folder a finding is written to."""
    program = os.path.join(OUT, "fuzz", name)
    os.makedirs(work, exist_ok=True)
    os.makedirs(findings, exist_ok=True)
    corpora = [work] + [d for d in (os.path.join(HERE, "corpus", name), os.path.join(HERE, "regressions", name))
                        if os.path.isdir(d)]
    command = [program, f"-max_total_time={seconds}", "-timeout=10", "-rss_limit_mb=2048", "-print_final_stats=1",
               f"-artifact_prefix={findings}{os.sep}"]
    if seed is not None:
        command.append(f"-seed={seed}")
    env = dict(os.environ, **SANITIZER_ENV)
    try:
        with open(log_path, "w", encoding="utf-8", errors="replace") as log:
            code = subprocess.run(command + corpora, stdout=log, stderr=subprocess.STDOUT, env=env,
                                  timeout=seconds + 120).returncode
    except subprocess.TimeoutExpired:
        code = -1
    except OSError as error:
        return 0, f"cannot run {program}: {error}"
    with open(log_path, encoding="utf-8", errors="replace") as log:
        text = log.read()
    if code == 0:
        return _executions(text), None
    kept = sorted(os.listdir(findings))
    where = f" (input: {os.path.join(findings, kept[-1])})" if kept else ""
    return _executions(text), _what_broke(text) + where


def short_pass(seconds=3):
    """Every target for a few seconds from its seeds and kept findings, with a fixed seed and a
    fresh working corpus; returns (passed, failed), one count per target."""
    passed = failed = 0
    logs = os.path.join(OUT, "fuzz", "logs")
    os.makedirs(logs, exist_ok=True)
    scratch = tempfile.mkdtemp(prefix="short-", dir=os.path.join(OUT, "fuzz"))
    try:
        for name in targets():
            log_path = os.path.join(logs, f"{name}.log")
            executions, finding = run_target(name, seconds, os.path.join(scratch, name, "corpus"),
                                             os.path.join(scratch, name, "findings"), log_path, seed=1)
            if finding is None:
                passed += 1
                print(f"{name}: {executions} executions, nothing found", flush=True)
            else:
                failed += 1
                print(f"{name}: FAILED after {executions} executions: {finding} (log: {log_path})", flush=True)
                kept = os.path.join(OUT, "fuzz", "findings", name)
                os.makedirs(kept, exist_ok=True)
                for entry in os.listdir(os.path.join(scratch, name, "findings")):
                    shutil.copy(os.path.join(scratch, name, "findings", entry), kept)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    return passed, failed
