"""Start-up as a user meets it: the console greeting, the main window, closing, and a
missing compiler library."""
import os
import unittest
from pathlib import Path

from ide import (E2E, START_TIMEOUT, Ide, MAIN_TITLE, Picture, fresh_program_dir, program_with_source, read,
                 screenshot, wait_for, windows_named, wine_path)


class StartUp(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def test_greeting_is_answered_then_the_main_window_opens_and_closes(self):
        self.ide = Ide(fresh_program_dir("greeting"))
        self.ide.console_window()
        wait_for(lambda: "Enter text to start.." in self.ide.console_text(), START_TIMEOUT, "the prompt")
        # Start-up waits for the answer: no main window yet.
        self.assertEqual(windows_named(MAIN_TITLE), [])
        self.ide.answer_greeting()
        main = self.ide.main_window()
        screen = self.ide.console_text(attributes=True).split("\n")
        rows = screen[0::2]
        self.assertIn("Zorvex Basic by", rows[0])
        self.assertIn("start Zorvex:", rows)
        start_row = rows.index("start Zorvex:")
        self.assertEqual(screen[2 * start_row + 1][:2], "F4")  # red on bright white
        self.assertEqual(rows[start_row + 1], "")
        self.ide.close_main_window(main)
        self.assertEqual(self.ide.wait_exit(), 0)

    def test_neither_the_console_close_box_nor_ctrl_c_there_ends_the_ide(self):
        folder, source = program_with_source("ctrlc", "alive.zobas", b"alive\r\n")
        self.ide = Ide(folder, args=[wine_path(source)])
        self.ide.answer_greeting()
        main = self.ide.main_window()
        console = self.ide.console_window()
        self.ide.keys(console, "ctrl+c", "ctrl+Break")
        self.ide.wait_keys_taken()
        width = self.ide.geometry(console)[2]
        self.ide.click(console, width - 8, 8)  # where the close box of its caption would be
        # The IDE still works: it saves what is typed into it, and closes normally.
        self.ide.edit_and_save(main, "ctrl+End", text="still here")
        wait_for(lambda: read(source) == b"alive\r\nstill here", 60, "the saved file")
        self.ide.close_main_window(main)
        self.assertEqual(self.ide.wait_exit(), 0)

    def test_started_in_another_folder_it_finds_its_own_files_and_the_file_named_there(self):
        # As from a command prompt, a shortcut or a file association: the current directory is
        # not the program's folder, and the file is named relative to it.
        folder = fresh_program_dir("elsewhere")
        work = os.path.join(E2E, "elsewhere-work")
        os.makedirs(work, exist_ok=True)
        source = os.path.join(work, "here.zobas")
        with open(source, "wb") as f:
            f.write(b"here\r\n")
        self.ide = Ide(folder, args=["here.zobas"], cwd=work)
        self.ide.answer_greeting(close_welcome=False)
        dialog = self.ide.welcome_window()

        def night_sky(r, g, b):
            return b > r + 12 and r < 60
        # The welcome picture is found beside the program and fills the dialog.
        wait_for(lambda: Picture(screenshot(dialog, "welcome-elsewhere")).count_where(night_sky) > 20000, 30,
                 "the welcome picture")
        self.ide.close_welcome()
        main = self.ide.main_window()
        self.assertNotIn("Unable to load Scintilla", self.ide.console_text())
        self.assertEqual(windows_named("zor"), [])  # no "Cannot load zitronenfalter.ico!"
        self.ide.edit_and_save(main, "ctrl+End", text="saved")
        wait_for(lambda: Path(source).read_bytes() == b"here\r\nsaved", 30, "the saved file")
        self.ide.close_main_window(main)
        self.assertEqual(self.ide.wait_exit(), 0)

    def test_missing_compiler_library_is_named_and_ends_with_failure(self):
        self.ide = Ide(fresh_program_dir("nolib", without=["zorvex.dll"]))
        box = self.ide.main_window("MISSING OR UNLOADABLE")
        texts = wait_for(lambda: self.ide.window_texts("MISSING OR UNLOADABLE"), 30, "the box's text")
        self.assertTrue(any("zorvex.dll" in line for line in texts), texts)
        self.assertEqual(windows_named("ZorvexBasic"), [])  # no console was opened
        self.ide.keys(box, "Return")
        self.assertNotEqual(self.ide.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
