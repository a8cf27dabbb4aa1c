"""Finding one's way with the keys: F6 through a Ctrl+F7 listing into another file, F12 on a
call into the file that declares it, Shift+F12 back to where each jump started, and names
completed and found through includes that loop back through ".." from three folders."""
import os
import unittest

from ide import MAIN_TITLE, Ide, fresh_program_dir, read, wait_for, wine_path, write


def loaded_title(path):
    name = wine_path(path)
    return "Loaded " + (name if len(name) <= 64 else "..." + name[-64:])


class Navigation(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def test_f6_goes_through_a_listing_into_another_file_and_shift_f12_comes_back(self):
        folder = fresh_program_dir("navigation-f6")
        work = os.path.join(folder, "work")
        os.makedirs(os.path.join(work, "lib"))
        main = os.path.join(work, "main.bas")
        sums = os.path.join(work, "lib", "sums.inc")
        write(main, b"total = 1\r\nprint total\r\n")
        write(sums, b"' sums\r\n\r\n  Total = Total + 1\r\n")
        self.ide = Ide(folder, args=[wine_path(main)])
        self.ide.answer_greeting()
        window = self.ide.main_window()
        self.ide.click(window, 300, 300)
        self.ide.keys(window, "ctrl+Home", "ctrl+F7")
        wait_for(lambda: (lambda t: t and "3 lines in 2 files" in "\n".join(t))(self.ide.window_texts(MAIN_TITLE)),
                 60, "the listing")
        # The first listed line is in the other file.
        self.ide.keys(window, "F6")
        self.ide.main_window(loaded_title(sums))
        self.ide.type_text(window, "!")
        self.ide.keys(window, "ctrl+s")
        wait_for(lambda: read(sums) == b"' sums\r\n\r\n!  Total = Total + 1\r\n", 30, "the mark at the listed line")
        # The next one is back in the first file; Shift+F12 returns to where that jump started.
        self.ide.keys(window, "F6")
        self.ide.main_window(loaded_title(main))
        self.ide.keys(window, "shift+F12")
        self.ide.main_window(loaded_title(sums))
        self.ide.type_text(window, "?")
        self.ide.keys(window, "ctrl+s")
        wait_for(lambda: read(sums) == b"' sums\r\n\r\n!?  Total = Total + 1\r\n", 30, "the caret where the jump started")

    def test_f12_on_a_call_opens_the_included_file_at_the_sub_and_shift_f12_comes_back(self):
        folder = fresh_program_dir("navigation-f12")
        work = os.path.join(folder, "work")
        os.makedirs(os.path.join(work, "lib"))
        main = os.path.join(work, "main.bas")
        moves = os.path.join(work, "lib", "moves.inc")
        write(main, b'#include "lib/moves.inc"\r\nhanoi 3\r\n')
        write(moves, b"' moves\r\nsub hanoi(n as int)\r\n  print n\r\nend sub\r\n")
        self.ide = Ide(folder, args=[wine_path(main)])
        self.ide.answer_greeting()
        window = self.ide.main_window()
        self.ide.click(window, 300, 300)
        self.ide.keys(window, "ctrl+Home", "Down", "Right", "F12")
        self.ide.main_window(loaded_title(moves))
        wait_for(lambda: (lambda t: t and any("sub hanoi, line 2" in x for x in t))(self.ide.window_texts(loaded_title(moves))),
                 30, "the status bar naming what F12 went to")
        self.ide.type_text(window, "!")
        self.ide.keys(window, "ctrl+s")
        wait_for(lambda: read(moves) == b"' moves\r\n!sub hanoi(n as int)\r\n  print n\r\nend sub\r\n", 30,
                 "the mark at the sub's line")
        self.ide.keys(window, "shift+F12")
        self.ide.main_window(loaded_title(main))
        self.ide.type_text(window, "?")
        self.ide.keys(window, "ctrl+s")
        wait_for(lambda: read(main) == b'#include "lib/moves.inc"\r\nh?anoi 3\r\n', 30, "the caret where F12 started")

    def test_includes_that_loop_through_three_folders_still_list_names_at_three_letters(self):
        folder = fresh_program_dir("navigation-loops")
        work = os.path.join(folder, "work")
        defs = b""
        for k in range(3):
            os.makedirs(os.path.join(work, "lib%d" % k))
            defs += b'#include "lib%d/x.zobas"\r\n' % k
            # Each folder's file includes the one above it and the next folder's, by ".." names.
            write(os.path.join(work, "lib%d" % k, "x.zobas"),
                  b'#include "../defs.zobas"\r\n#include "..\\lib%d\\x.zobas"\r\nsub walk%d(n as int)\r\nend sub\r\n'
                  % ((k + 1) % 3, k))
        write(os.path.join(work, "defs.zobas"), defs)
        main = os.path.join(work, "main.zobas")
        write(main, b'#include "defs.zobas"\r\n')
        self.ide = Ide(folder, args=[wine_path(main)])
        self.ide.answer_greeting()
        window = self.ide.main_window()
        self.ide.click(window, 300, 300)
        # The third letter shows the list of the names the looping files declare; Tab takes the
        # first, Ctrl+S writes it: the IDE answered the three letters.
        self.ide.keys(window, "ctrl+End")
        self.ide.type_text(window, "wal")
        self.ide.keys(window, "Tab", "ctrl+s")
        wait_for(lambda: read(main) == b'#include "defs.zobas"\r\nwalk0', 60, "the name from the looping includes")
        # F12 on it opens the file of the first folder at the sub.
        self.ide.keys(window, "F12")
        self.ide.main_window(loaded_title(os.path.join(work, "lib0", "x.zobas")))


if __name__ == "__main__":
    unittest.main()
