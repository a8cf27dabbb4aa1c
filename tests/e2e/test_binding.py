"""The program takes its system routines by name at start-up: its import table names no
library but the C runtime's, and a compiler library without one of its routines stops start-up
with a box naming that routine."""
import os
import shutil
import subprocess
import unittest

from ide import DIST, TOOLS, Ide, fresh_program_dir, wait_for, windows_named


class Binding(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def test_program_imports_only_the_runtime_and_exports_guistate(self):
        dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", os.path.join(DIST, "ZorvexIde.exe")],
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


if __name__ == "__main__":
    unittest.main()
