"""The program takes its system routines by name at start-up: its import table names no
library but the C runtime's, a compiler library without one of its routines stops start-up
with a box naming that routine, and an older one without the check of the document as the
user types leaves only that check off."""
import os
import shutil
import subprocess
import time
import unittest

from ide import BITS, DIST, TOOLS, Ide, fresh_program_dir, program_with_source, wait_for, windows_named


class Binding(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def test_program_imports_only_the_runtime_and_exports_guistate(self):
        objdump = "x86_64-w64-mingw32-objdump" if BITS == 64 else "i686-w64-mingw32-objdump"
        dump = subprocess.run([objdump, "-p", os.path.join(DIST, "ZorvexIde.exe")],
                              capture_output=True, text=True, check=True).stdout
        imported = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line}
        self.assertEqual(imported, {"kernel32.dll", "msvcrt.dll"})
        self.assertRegex(dump, r"\[\s*\d+\] guistate")

    def test_compiler_library_without_zor_basis_names_the_routine(self):
        folder = fresh_program_dir("nobasis")
        shutil.copy(os.path.join(TOOLS, "zorvex_nobasis.dll"), os.path.join(folder, "zorvex.dll"))
        self.ide = Ide(folder)
        box = self.ide.main_window("MISSING OR UNLOADABLE")
        texts = wait_for(lambda: self.ide.window_texts("MISSING OR UNLOADABLE"), 30, "the box's text")
        self.assertIn("zor_basis", texts)
        self.assertEqual(windows_named("ZorvexBasic"), [])
        self.ide.keys(box, "Return")
        self.assertNotEqual(self.ide.wait_exit(), 0)

    def test_compiler_library_without_zor_check_starts_with_one_console_line(self):
        folder = fresh_program_dir("nocheck")
        shutil.copy(os.path.join(TOOLS, "zorvex_nocheck.dll"), os.path.join(folder, "zorvex.dll"))
        self.ide = Ide(folder)
        self.ide.answer_greeting()
        main = self.ide.main_window()
        line = "zorvex.dll has no zor_check: errors are not shown as you type"
        self.assertEqual(self.ide.console_text().count(line), 1)
        self.assertEqual(windows_named("MISSING OR UNLOADABLE"), [])
        self.ide.close_main_window(main)
        self.assertEqual(self.ide.wait_exit(), 0)

    def test_closing_while_a_check_of_a_big_source_runs_ends_the_program(self):
        # 30 MB that the compiler library takes seconds to check, from half a second after it
        # is loaded; the window is closed within that time.
        folder, source = program_with_source("bigcheck", "big.zobas", b"x = x + 1\r\n" * 3_000_000)
        self.ide = Ide(folder, args=[source])
        self.ide.answer_greeting()
        main = self.ide.main_window()
        time.sleep(1.5)  # into the check; the program must end whether or not it runs by now
        self.ide.close_main_window(main)
        self.assertEqual(self.ide.wait_exit(60), 0)


if __name__ == "__main__":
    unittest.main()
