"""A working session as a user has it: start with a file, edit, save with Ctrl+S, close; the
next start without a file brings back the file, the caret, the window size and the font."""
import os
import re
import subprocess
import unittest

from ide import E2E, Ide, fresh_folder, fresh_program_dir, program_with_source, read, wait_for, wine_path


class Session(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def test_file_caret_size_and_font_come_back_at_the_next_start(self):
        folder, source = program_with_source("session", "demo.zobas", b"first line\r\n")
        settings = os.path.join(folder, "zorvexIde.cfg")

        self.ide = Ide(folder, args=[wine_path(source)])
        self.ide.answer_greeting()
        window = self.ide.main_window()
        first_size = self.ide.geometry(window)[2:]
        self.ide.edit_and_save(window, "ctrl+End", text="second")
        wait_for(lambda: read(source) == b"first line\r\nsecond", 30, "the saved file")
        self.ide.close_main_window(window)
        self.assertEqual(self.ide.wait_exit(), 0)
        expected = ("$dir [{dir}]\r\n$file [{file}]\r\n$pos [18]\r\n$sizeX [800]\r\n$sizeY [600]\r\n"
                    "$font [Lucida Console]\r\n$fontsize [12]\r\n").format(dir=wine_path(folder), file=wine_path(source))
        self.assertEqual(read(settings).decode("cp1252"), expected)

        # The user enlarges the window and the font between runs.
        text = read(settings).decode("cp1252")
        text = re.sub(r"\$sizeX \[\d+\]", "$sizeX [900]", text)
        text = re.sub(r"\$sizeY \[\d+\]", "$sizeY [650]", text)
        text = text.replace("$fontsize [12]", "$fontsize [14]")
        with open(settings, "wb") as f:
            f.write(text.encode("cp1252"))

        self.ide = Ide(folder)
        self.ide.answer_greeting()
        window = self.ide.main_window()
        # The screen shows the client area, so the outer size shows as its growth.
        width, height = self.ide.geometry(window)[2:]
        self.assertEqual((width - first_size[0], height - first_size[1]), (100, 50))
        # The caret is back at the end of the file: what is typed now lands there.
        self.ide.keys(window, "Escape")
        self.ide.type_text(window, "!")
        self.ide.keys(window, "ctrl+s")
        wait_for(lambda: read(source) == b"first line\r\nsecond!", 30, "the file saved again")
        self.ide.close_main_window(window)
        self.assertEqual(self.ide.wait_exit(), 0)
        text = read(settings).decode("cp1252")
        self.assertIn("$pos [19]\r\n$sizeX [900]\r\n$sizeY [650]\r\n$font [Lucida Console]\r\n$fontsize [14]\r\n", text)

    def test_unsaved_text_is_asked_about_at_closing_and_cancel_keeps_the_window(self):
        folder, source = program_with_source("closeprompt", "keep.zobas", b"keep\r\n")
        self.ide = Ide(folder, args=[wine_path(source)])
        self.ide.answer_greeting()
        window = self.ide.main_window()
        self.ide.click(window, 300, 300)
        self.ide.type_text(window, "x")
        self.ide.close_main_window(window)
        texts = self.ide.answer_box("Closing Zorvexide", "Escape").split("\n")  # Cancel
        self.assertIn("Save " + wine_path(source), texts)
        self.assertIsNone(self.ide.process.poll())
        self.assertFalse(os.path.exists(os.path.join(folder, "zorvexIde.cfg")))
        self.assertEqual(read(source), b"keep\r\n")

    def test_nothing_typed_under_the_close_prompt_reaches_the_editor(self):
        folder, source = program_with_source("underprompt", "keep.zobas", b"keep\r\n")
        self.ide = Ide(folder, args=[wine_path(source)])
        self.ide.answer_greeting()
        window = self.ide.main_window()
        self.ide.click(window, 300, 300)
        self.ide.keys(window, "ctrl+End")
        self.ide.type_text(window, "x")
        self.ide.close_main_window(window)
        self.ide.main_window("Closing Zorvexide")
        self.ide.click(window, 100, 450)  # back into the editor, beside the prompt
        self.ide.type_text(window, "q")
        self.ide.answer_box("Closing Zorvexide", "Escape")  # Cancel
        self.ide.keys(window, "ctrl+s")
        wait_for(lambda: read(source) != b"keep\r\n", 30, "the saved file")
        self.assertEqual(read(source), b"keep\r\nx")

    def test_a_relative_file_name_is_saved_where_it_was_read(self):
        folder = fresh_program_dir("relative")
        work = fresh_folder("relative-work")
        source = os.path.join(work, "a.bas")
        with open(source, "wb") as f:
            f.write(b"first\r\n")
        self.ide = Ide(folder, args=["a.bas"], cwd=work)
        self.ide.answer_greeting()
        window = self.ide.main_window()
        self.ide.edit_and_save(window, "ctrl+End", text="!")
        wait_for(lambda: read(source) == b"first\r\n!", 30, "the file saved where it was read")
        self.assertFalse(os.path.exists(os.path.join(folder, "a.bas")))

    @unittest.skipUnless(os.geteuid() == 0, "mounting a small file system needs root")
    def test_a_full_disk_is_reported_and_leaves_the_old_file_and_nothing_else(self):
        folder = fresh_program_dir("fulldisk")
        small = os.path.join(E2E, "small-disk")
        os.makedirs(small, exist_ok=True)
        subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "zorsmall", small], check=True)
        self.addCleanup(subprocess.run, ["umount", "-l", small])
        source = os.path.join(small, "big.bas")
        old = b"x" * 150000 + b"\r\n"
        with open(source, "wb") as f:
            f.write(old)
        self.ide = Ide(folder, args=[wine_path(source)])
        self.ide.answer_greeting()
        window = self.ide.main_window()
        self.ide.edit_and_save(window, "ctrl+End", text="more")
        box = self.ide.main_window("zor")
        texts = wait_for(lambda: self.ide.window_texts("zor"), 30, "the report's text")
        self.assertTrue(any(line.startswith("Cannot write") for line in texts), texts)
        self.ide.keys(box, "Return")
        self.assertEqual(read(source), old)
        self.assertEqual(os.listdir(small), ["big.bas"])  # no temporary file left behind
        self.assertEqual(self.ide.main_window(), window)  # the text is still there to save elsewhere

    def test_without_the_editing_component_a_plain_editor_still_edits_and_saves(self):
        folder, source = program_with_source("noscintilla", "plain.zobas", b"plain\r\n", without=["lib"])
        self.ide = Ide(folder, args=[wine_path(source)])
        self.ide.answer_greeting()
        window = self.ide.main_window()
        self.assertIn("Unable to load Scintilla: SciLexer.dll", self.ide.console_text())
        self.ide.edit_and_save(window, "ctrl+End", text="more")
        wait_for(lambda: read(source) == b"plain\r\nmore", 30, "the saved file")
        self.ide.close_main_window(window)
        self.assertEqual(self.ide.wait_exit(), 0)

    def test_a_file_too_large_to_edit_is_reported_and_the_ide_starts_untitled(self):
        folder = fresh_program_dir("toolarge")
        source = os.path.join(folder, "big.zobas")
        with open(source, "wb") as f:
            f.truncate(3 << 30)  # sparse: 3 GB on paper, nothing on disk
        self.ide = Ide(folder, args=[wine_path(source)])
        self.ide.answer_greeting()
        box = self.ide.main_window("zor")
        self.assertIn("Cannot load " + wine_path(source) + ": the file is too large to edit.",
                      self.ide.window_texts("zor"))
        self.ide.keys(box, "Return")
        window = self.ide.main_window()
        self.ide.close_main_window(window)  # an untitled, empty document asks nothing
        self.assertEqual(self.ide.wait_exit(), 0)
        self.assertIn("$file []\r\n", read(os.path.join(folder, "zorvexIde.cfg")).decode("cp1252"))
        self.assertEqual(os.path.getsize(source), 3 << 30)
        os.remove(source)


if __name__ == "__main__":
    unittest.main()
