"""Faults below the program, injected while a user works: saves killed at random moments,
read-only files, a folder removed under an open file, a file changed by another program,
damaged settings files, a huge file with NUL bytes and a long line, two files whose names
differ only in letter case, a file behind a symbolic link and a folder that takes no new file.
Each ends with a check of the bytes on disk."""
import os
import random
import re
import shutil
import subprocess
import time
import unittest

from ide import E2E, Ide, fresh_folder, fresh_program_dir, read, wait_for, wine_path, write, xdotool

# A text value stands in square brackets, or in angle brackets where its own square ones do not pair.
TEXT_VALUE = rb"(?:\[[^\r\n]*\]|<[^\r\n]*>)"
SETTINGS_LINES = re.compile(rb"\$dir " + TEXT_VALUE + rb"\r\n\$file " + TEXT_VALUE + rb"\r\n\$pos \[-?\d+\]\r\n"
                            rb"\$sizeX \[\d+\]\r\n\$sizeY \[\d+\]\r\n\$font " + TEXT_VALUE +
                            rb"\r\n\$fontsize \[\d+\]\r\n\Z")


class Faults(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def start(self, folder, *args):
        self.ide = Ide(folder, args=list(args))
        self.ide.answer_greeting()
        return self.ide.main_window()

    def type_at_start(self, window, text):
        self.ide.click(window, 300, 300)
        self.ide.keys(window, "ctrl+Home")
        self.ide.type_text(window, text)

    def test_saves_killed_at_random_moments_leave_the_old_or_the_new_file_whole(self):
        folder = fresh_program_dir("kills")
        source = os.path.join(folder, "big.bas")
        old = b"".join(b"print %d\r\n" % n for n in range(2000000))  # about 20 MB
        rounds, kills = 50, 0
        rng = random.Random(20261209)
        for _ in range(rounds):
            write(source, old)
            window = self.start(folder, wine_path(source))
            self.type_at_start(window, "y")
            self.ide.keys(window, "ctrl+s")
            time.sleep(rng.uniform(0.0, 0.4))  # the fault's moment, not a wait for anything
            self.ide.kill()
            kills += 1
            data = read(source)
            self.assertIn(data, (old, b"y" + old), f"after kill {kills}: {len(data)} bytes on disk")
        left = sorted(n for n in os.listdir(folder) if n.lower().startswith("~zor"))
        # The next save names every temporary file an interrupted save left behind.
        window = self.start(folder, wine_path(source))
        self.type_at_start(window, "z")
        self.ide.keys(window, "ctrl+s")
        if left:
            report = self.ide.answer_box()
            for name in left:
                self.assertIn(name, report)
        wait_for(lambda: read(source).startswith(b"z"), 60, "the last save")
        print(f"\n  {kills} kills survived; {len(left)} temporary files left, all reported", end=" ")

    def test_a_read_only_file_and_a_removed_folder_are_reported_and_the_text_saved_elsewhere(self):
        folder = fresh_program_dir("readonly")
        work = fresh_folder("readonly-work")
        source = os.path.join(work, "locked.bas")
        write(source, b"old\r\n")
        os.chmod(source, 0o444)
        window = self.start(folder, wine_path(source))
        self.type_at_start(window, "new ")
        self.ide.keys(window, "ctrl+s")
        self.assertIn("Cannot write", self.ide.answer_box())
        self.assertEqual(read(source), b"old\r\n")

        os.chmod(source, 0o644)
        shutil.rmtree(work)  # the folder goes while the file is open
        self.ide.keys(window, "ctrl+s")
        self.assertIn("Cannot write", self.ide.answer_box())
        # The box closing gives the window back its activation from outside (Wine hands it to
        # the console first): the IDE looks at its file then and tells once that it is gone.
        self.assertIn("has been deleted", self.ide.answer_box("File Changed Outside"))
        elsewhere = os.path.join(folder, "rescued.bas")
        self.ide.keys(window, "shift+F9")
        dialog = self.ide.main_window("Save File as")
        # The dialog takes what is typed once its name box has the keyboard.
        wait_for(lambda: self.ide.foreground()[1:] == ("Save File as", "Edit"), 30, "the dialog's name box")
        self.ide.type_text(dialog, wine_path(elsewhere))
        try:
            wait_for(lambda: wine_path(elsewhere) in (self.ide.window_texts("Save File as") or []), 30, "the typed name")
        except TimeoutError as error:
            raise AssertionError(f"{error}: the dialog holds {self.ide.window_texts('Save File as')}; "
                                 f"the foreground window is {self.ide.foreground()}") from None
        self.ide.keys(dialog, "Return")
        wait_for(lambda: os.path.exists(elsewhere) and read(elsewhere) == b"new old\r\n", 30, "the rescued text")

    def test_a_file_changed_by_another_program_is_no_edit_of_the_users_at_closing(self):
        folder = fresh_program_dir("changed")
        source = os.path.join(folder, "shared.bas")
        write(source, b"mine\r\n")
        window = self.start(folder, wine_path(source))
        write(source, b"theirs\r\n")
        # Nothing of the user's to save: the IDE closes without a question and keeps theirs.
        self.ide.close_main_window(window)
        self.assertEqual(self.ide.wait_exit(), 0)
        self.assertEqual(read(source), b"theirs\r\n")

    def test_damaged_settings_files_still_start_and_leave_a_sound_one(self):
        damaged = [
            b"$sizeX [\xff\xfe\x00\x00$sizeY [",
            b"$font [" + b"[" * 5000,
            bytes(range(256)) * 40,
            b"$fontsize [999999999999999999]$sizeX [-5]$sizeY [1e300]$pos [-7]",
            b"$dir [Z:\\no\\such\\folder]$file [..\\..\\nowhere.bas]$pos [99999999]",
            b"$pos [" * 200000,
        ]
        for number, text in enumerate(damaged):
            with self.subTest(number=number):
                folder = fresh_program_dir("settings%d" % number)
                settings = os.path.join(folder, "zorvexIde.cfg")
                write(settings, text)
                window = self.start(folder)
                self.ide.close_main_window(window)
                self.assertEqual(self.ide.wait_exit(), 0)
                self.assertRegex(read(settings), SETTINGS_LINES)
                self.ide.kill()

    def test_a_huge_file_with_nul_bytes_and_a_long_line_opens_finds_and_saves_byte_for_byte(self):
        folder = fresh_program_dir("huge")
        source = os.path.join(folder, "huge.bas")
        block = b"".join(b"print %d\x00 nul\r\n" % n for n in range(4000))
        data = block * 1600 + b"x = " + b"7" * (5 << 20) + b"\r\n" + block * 100 + b"needle5\r\n" + block
        write(source, data)
        window = self.start(folder, wine_path(source))
        self.ide.keys(window, "ctrl+f")
        self.ide.type_text(window, "needle5")
        self.ide.keys(window, "Escape", "F3")
        self.ide.main_window("Find", timeout=60)
        self.ide.type_text(window, "!")  # replaces the selected occurrence
        self.ide.keys(window, "ctrl+s")
        expected = data.replace(b"needle5", b"!")
        wait_for(lambda: os.path.getsize(source) == len(expected) and read(source) == expected, 120, "the saved file")

    def test_a_file_reached_through_a_link_or_in_a_folder_that_takes_no_new_file_is_written_in_place(self):
        folder = fresh_program_dir("links")
        work = fresh_folder("links-work")
        target, link = os.path.join(work, "target.bas"), os.path.join(work, "link.bas")
        write(target, b"old\r\n")
        os.symlink("target.bas", link)
        window = self.start(folder, wine_path(link))
        self.type_at_start(window, "x")
        self.ide.keys(window, "ctrl+s")
        wait_for(lambda: read(target) == b"xold\r\n" and sorted(os.listdir(work)) == ["link.bas", "target.bas"], 30,
                 "the link's target saved, and no scratch file left")
        self.assertTrue(os.path.islink(link))
        self.ide.kill()

        # A folder where no new file may be made (immutable: that holds for root too).
        locked = os.path.join(E2E, "links-locked")
        if os.geteuid() == 0 and os.path.isdir(locked):
            subprocess.run(["chattr", "-i", locked])  # left immutable by a run cut short
        locked = fresh_folder("links-locked")
        source = os.path.join(locked, "kept.bas")
        write(source, b"old\r\n")
        if os.geteuid() == 0:
            subprocess.run(["chattr", "+i", locked], check=True)
            self.addCleanup(subprocess.run, ["chattr", "-i", locked])
        else:
            os.chmod(locked, 0o555)
            self.addCleanup(os.chmod, locked, 0o755)
        window = self.start(folder, wine_path(source))
        self.type_at_start(window, "x")
        self.ide.keys(window, "ctrl+s")
        wait_for(lambda: read(source) == b"xold\r\n", 30, "the file saved in its locked folder")
        self.assertEqual(os.listdir(locked), ["kept.bas"])

    def test_names_that_differ_only_in_letter_case_never_replace_each_other(self):
        folder = fresh_program_dir("twins")
        lower, upper = os.path.join(folder, "c.bas"), os.path.join(folder, "C.bas")
        write(lower, b"lower\r\n")
        write(upper, b"upper\r\n")
        # Named in a letter case that matches neither exactly: refused, both stay.
        window = self.start(folder, wine_path(os.path.join(folder, "c.BAS")))
        self.type_at_start(window, "x")
        self.ide.keys(window, "ctrl+s")
        self.assertIn("Cannot save", self.ide.answer_box())
        self.assertEqual((read(lower), read(upper)), (b"lower\r\n", b"upper\r\n"))
        self.ide.kill()
        # Named exactly: that one file is saved.
        window = self.start(folder, wine_path(upper))
        self.type_at_start(window, "x")
        self.ide.keys(window, "ctrl+s")
        wait_for(lambda: read(upper) == b"xupper\r\n", 30, "the saved file")
        self.assertEqual(read(lower), b"lower\r\n")


if __name__ == "__main__":
    unittest.main()
