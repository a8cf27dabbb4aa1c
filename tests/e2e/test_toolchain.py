"""The compile tool as the IDE starts it: zor5.exe under Wine in the program folder runs a
source, compiles it to a 32-bit or 64-bit program beside it, refuses library output and bad
command lines with one line, and runs the tools script and the samples; and F5 and F2 in the
IDE, as a user presses them. The 32-bit tool runs in a 32-bit Wine prefix, where programs of the
64-bit runtime cannot run; the 64-bit tool in a 64-bit prefix, where both kinds run if the host
runs 32-bit code at all."""
import os
import shutil
import struct
import subprocess
import unittest

from ide import (BITS, DIST, MAIN_TITLE, NO_32_BIT, RUNS_32BIT, TOOLS, WINE, Ide, fresh_folder, fresh_program_dir,
                 program_with_source, read, wait_for, wine_path, write)

GREETING = b"dim who as string\r\ninput \"Name? \", who\r\nprint \"Hello, \"; who; \"!\"\r\nprint 6 * 7, 1 / 4\r\n"


def zor5(folder, *args, stdin=b"", cwd=None):
    """Runs zor5.exe of the program folder; returns (exit code, stdout, stderr) as text."""
    result = subprocess.run([WINE, os.path.join(folder, "zor5.exe"), *args], cwd=cwd or folder, input=stdin,
                            capture_output=True, timeout=120)
    return result.returncode, normal(result.stdout), normal(result.stderr)


def normal(data):
    return data.decode("cp1252").replace("\r\n", "\n")


class Toolchain(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = fresh_program_dir("toolchain")
        cls.sources = os.path.join(cls.folder, "my sources (v1)")
        os.makedirs(cls.sources)

    def source(self, name, data):
        path = os.path.join(self.sources, name)
        write(path, data)
        return path

    def test_f5_runs_the_source_in_the_console_with_input(self):
        src = self.source("greet.zobas", GREETING)
        code, out, err = zor5(self.folder, wine_path(src), stdin=b"Ada\r\n")
        self.assertEqual((code, out, err), (0, "Name? Hello, Ada!\n42 0.25\n", ""))

    def test_errors_show_as_file_and_line_and_exit_with_1(self):
        cases = [
            ("broken.zobas", b"print 1\r\nprint nosuch\r\n", "", "(2): unknown name nosuch"),
            ("divide.zobas", b"print 1\r\nx = 0\r\nprint 1 / x\r\n", "1\n", "(3): division by zero"),
            ("limit.zobas", b"print 1\r\ndim r(50000001) as int\r\n", "1\n", "(2): array r is too large (50000001 elements)"),
        ]
        if BITS == 32:  # more records than a 32-bit program can address, though within the language's limit
            cases.append(("records.zobas", b"type point\r\n  x as int\r\nend type\r\nprint 1\r\ndim r(40000000) as point\r\n",
                          "1\n", "(5): array r is too large (40000000 elements)"))
        for name, text, out, error in cases:
            src = self.source(name, text)
            self.assertEqual(zor5(self.folder, wine_path(src)), (1, out, wine_path(src) + error + "\n"), name)

    def test_ctrl_f5_writes_a_32_bit_program_that_runs_on_its_own(self):
        src = self.source("greet32.zobas", GREETING)
        exe = os.path.join(self.sources, "greet32.exe")
        code, out, err = zor5(self.folder, "-r", "-32", wine_path(src))
        self.assertEqual((code, out, err), (0, "zor5: wrote %s (32-bit console program)\n" % wine_path(exe), ""))
        self.assertEqual(pe_magic(exe), 0x10B)
        self.assertEqual(os.listdir(self.sources).count("greet32.exe.part~"), 0)
        # Started anywhere, without the tool or its runtime beside it.
        moved = os.path.join(self.folder, "..", "greet32-alone.exe")
        os.replace(exe, moved)
        if not RUNS_32BIT:
            self.skipTest(NO_32_BIT)
        result = subprocess.run([WINE, moved], input=b"Bo\r\n", capture_output=True, timeout=120, cwd="/")
        self.assertEqual((result.returncode, normal(result.stdout)), (0, "Name? Hello, Bo!\n42 0.25\n"))

    def test_ctrl_shift_f5_writes_a_64_bit_program(self):
        src = self.source("greet64.zobas", GREETING)
        exe = os.path.join(self.sources, "greet64.exe")
        code, out, _ = zor5(self.folder, "-r", "-64", wine_path(src))
        self.assertEqual((code, out), (0, "zor5: wrote %s (64-bit console program)\n" % wine_path(exe)))
        self.assertEqual(pe_magic(exe), 0x20B)
        if BITS == 64:  # a 64-bit prefix runs it, anywhere
            moved = os.path.join(self.folder, "..", "greet64-alone.exe")
            os.replace(exe, moved)
            result = subprocess.run([WINE, moved], input=b"Cy\r\n", capture_output=True, timeout=120, cwd="/")
            self.assertEqual((result.returncode, normal(result.stdout)), (0, "Name? Hello, Cy!\n42 0.25\n"))

    def test_a_source_with_errors_writes_no_program(self):
        src = self.source("bad.zobas", b"if 1 then\r\nprint 2\r\n")
        code, out, err = zor5(self.folder, "-r", "-32", wine_path(src))
        self.assertEqual((code, out, err), (1, "", wine_path(src) + "(1): if without end if\n"))
        self.assertFalse(os.path.exists(os.path.join(self.sources, "bad.exe")))

    def test_library_output_is_refused_plainly(self):
        src = self.source("lib.zobas", GREETING)
        for bits in ("-32", "-64"):
            code, out, err = zor5(self.folder, "-d", bits, wine_path(src))
            self.assertEqual((code, out), (2, ""))
            self.assertEqual(err, "zor5: library output (-d) is not available in this version; use -r to compile an exe\n")
        self.assertEqual(sorted(n for n in os.listdir(self.sources) if n.startswith("lib.")), ["lib.zobas"])

    def test_shift_f5_runs_with_the_64_bit_runtime_or_says_in_one_line_that_it_cannot(self):
        src = self.source("run64.zobas", GREETING)
        code, out, err = zor5(self.folder, "-64", wine_path(src), stdin=b"Di\r\n")
        if BITS == 64:
            self.assertEqual((code, out, err), (0, "Name? Hello, Di!\n42 0.25\n", ""))
            return
        self.assertEqual((code, out), (1, ""))  # a 32-bit prefix: a 32-bit system
        self.assertEqual(err.count("\n"), 1)
        self.assertIn("64-bit", err)

    def test_bad_command_lines_get_one_line_and_a_failing_exit_code(self):
        binary = self.source("binary.zobas", b"print 1\x00\x01\x02")
        cases = [
            (["-x", "a.zobas"], 2, "zor5: unknown option -x"),
            ([], 2, "zor5: usage: zor5"),
            (["-r", "-32"], 2, "zor5: no source file named"),
            ([wine_path(os.path.join(self.sources, "missing.zobas"))], 1, "no such file"),
            ([wine_path(self.sources)], 1, "is a folder, not a source file"),
            ([wine_path(binary)], 1, "is not a text file"),
        ]
        for args, want_code, want_text in cases:
            code, out, err = zor5(self.folder, *args)
            self.assertEqual(code, want_code, args)
            self.assertEqual(err.count("\n"), 1, err)
            self.assertIn(want_text, err)

    def test_shift_f7_runs_the_tools_script_from_the_program_folder(self):
        src = self.source("count.zobas", b"' a program\r\n\r\nsub a()\r\nend sub\r\nfunction b() as int\r\nend function\r\n")
        result = subprocess.run([WINE, "zor5.exe", "tools/QnCommand.zobas"], cwd=self.folder, capture_output=True,
                                input=wine_path(src).encode("cp1252") + b"\r\n", timeout=120)
        out = normal(result.stdout)
        self.assertEqual(result.returncode, 0, normal(result.stderr))
        for line in ("lines:     6", "blank:     1", "comments:  1", "subs:      1", "functions: 1"):
            self.assertIn(line, out)

    def test_the_debugger_talks_over_a_named_pipe(self):
        """zor5 -debug connects to the IDE's pipe: a breakpoint, an expression, a step back over
        input and forward again give the plain run's console; a session whose IDE goes away
        (its pipe closes while the program is stopped) ends the program."""
        src = self.source("debugged.zobas", GREETING.replace(b"print 6 * 7", b"dim n as int = 6\r\nprint n * 7"))
        stdin = os.path.join(self.sources, "stdin.txt")
        write(stdin, b"Ada\r\n")
        plain = zor5(self.folder, wine_path(src), stdin=b"Ada\r\n")
        console = os.path.join(self.sources, "console.txt")
        cases = [
            ("launch record;break 5;start;? ucase(who) & n;back;back;? who;next;next;stack;continue",
             "stop breakpoint debugged.zobas:5\n= \"ADA6\"\nstop step debugged.zobas:4 past\nstop step debugged.zobas:3 past\n"
             "= \"Ada\"\nstop step debugged.zobas:4 past\nstop breakpoint debugged.zobas:5\n  main program, line 5 of debugged.zobas\n"
             "exit 0\ntool exit 0\n", plain[1]),
            ("break 3;start;next;vars", "stop breakpoint debugged.zobas:3\nstop step debugged.zobas:4\n  who as string = \"Ada\"\n"
             "  n as int = 0\ntool exit 1\n", "Name? Hello, Ada!\n"),
        ]
        for script, transcript, out in cases:
            result = subprocess.run([WINE, os.path.join(TOOLS, "debugclient.exe"), os.path.join(self.folder, "zor5.exe"), wine_path(src),
                                     wine_path(stdin), wine_path(console), script], capture_output=True, timeout=180)
            self.assertEqual(normal(result.stdout), transcript, script)
            self.assertEqual(normal(read(console)), out, script)

    def test_every_sample_runs(self):
        answers = {"hello.zobas": b"Ada\r\n", "guess.zobas": b"".join(b"%d\r\n" % n for n in range(1, 101))}
        samples = os.path.join(self.folder, "samples")
        names = sorted(os.listdir(samples))
        self.assertGreaterEqual(len(names), 6)
        for name in names:
            code, out, err = zor5(self.folder, wine_path(os.path.join(samples, name)), stdin=answers.get(name, b""))
            self.assertEqual((code, err), (0, ""), name)
            self.assertTrue(out, name)


def pe_magic(path):
    """The optional header's magic number: 0x10B for PE32, 0x20B for PE32+."""
    with open(path, "rb") as f:
        data = f.read(4096)
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[offset:offset + 4] == b"PE\0\0"
    return struct.unpack_from("<H", data, offset + 24)[0]


class IdeBuilds(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def start(self, name, file_name, content):
        """The IDE started with a new source; returns its program folder and main window."""
        folder, source = program_with_source(name, file_name, content)
        self.ide = Ide(folder, args=[wine_path(source)])
        self.ide.answer_greeting()
        return folder, self.ide.main_window()

    def test_f5_shows_the_programs_output_in_the_console_and_reads_its_input(self):
        folder, window = self.start("ide-f5", "greet.zobas", GREETING)
        self.ide.keys(window, "F5")
        wait_for(lambda: "Name?" in self.ide.console_text(), 30, "the program's prompt")
        console = self.ide.console_window()
        self.ide.click(console, 100, 100)  # a click makes the console the active window again
        self.ide.type_text(console, "Ada")
        self.ide.keys(console, "Return")
        wait_for(lambda: "Hello, Ada!" in self.ide.console_text(), 30, "the program's answer")
        self.assertIn("42 0.25", self.ide.console_text())

    def test_ctrl_f5_leaves_a_program_that_runs_on_its_own_and_ctrl_shift_f5_a_64_bit_one(self):
        folder, window = self.start("ide-ctrlf5", "count.zobas", b"for i = 1 to 3\r\n  print i * i;\r\nnext\r\nprint\r\n")
        program = os.path.join(folder, "count.exe")
        self.ide.keys(window, "ctrl+F5")
        wait_for(lambda: "wrote" in self.ide.console_text() and os.path.exists(program), 60, "the compiled program")
        self.assertEqual(pe_magic(program), 0x10B)
        elsewhere = fresh_folder("ide-ctrlf5-copy")
        copy = os.path.join(elsewhere, "count.exe")
        shutil.copy(program, copy)
        os.remove(program)
        self.ide.keys(window, "ctrl+shift+F5")
        wait_for(lambda: os.path.exists(program), 60, "the 64-bit program")
        self.assertEqual(pe_magic(program), 0x20B)
        if not RUNS_32BIT:
            self.skipTest(NO_32_BIT)
        run = subprocess.run([WINE, copy], cwd=elsewhere, capture_output=True, timeout=60)
        self.assertEqual(run.stdout.replace(b"\r\n", b"\n"), b"149\n")

    def test_f2_on_a_declared_name_shows_its_declaration_in_the_output_box(self):
        folder, window = self.start("ide-f2", "decl.zobas", b"dim total as int\r\ntotal = 1\r\n")
        self.ide.keys(window, "ctrl+Home", *["Right"] * 5, "F2")  # the caret in "total"
        wait_for(lambda: any("total: variable total as int, line 1" in t for t in self.ide.window_texts(MAIN_TITLE) or []),
                 30, "the listing in the output box")


if __name__ == "__main__":
    unittest.main()
