"""The welcome dialog as a user meets it at every start: after the console greeting, before
the main window, over its picture, closed with Esc; and the About box after it."""
import unittest

from ide import (MAIN_TITLE, WELCOME_TITLE, Ide, Picture, fresh_program_dir, screenshot, wait_for,
                 windows_named, xdotool)

PICTURE = "2001-A-Space-Odyssey-1.jpg"


def night_sky(r, g, b):
    return b > r + 12 and r < 60


def white_in_lower_fifth(shot):
    """White pixels in the lowest fifth of a screenshot of the dialog: there the picture is
    dark and the "Close" button's face is white."""
    return shot.colours_in(shot.height * 4 // 5, shot.height).get((255, 255, 255), 0)


class Welcome(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def test_welcome_dialog_comes_between_the_greeting_and_the_main_window(self):
        self.ide = Ide(fresh_program_dir("welcome"))
        self.ide.answer_greeting(close_welcome=False)
        dialog = self.ide.welcome_window()
        self.assertEqual(windows_named(MAIN_TITLE), [])
        texts = wait_for(lambda: self.ide.window_texts(WELCOME_TITLE), 30, "the dialog's texts")
        self.assertIn("Close", texts)
        # The picture fills the background, mostly night sky with the sun on the planet's rim,
        # and the white "Close" button stands over its dark lower fifth.
        def shown():
            shot = Picture(screenshot(dialog, "welcome"))
            button = white_in_lower_fifth(shot)
            return (shot.count_where(night_sky) > shot.width * shot.height // 3
                    and shot.count((255, 255, 255)) - button > 100 and button > 200)
        wait_for(shown, 30, "the picture and the button in the dialog")
        self.assertEqual(windows_named(MAIN_TITLE), [])
        self.ide.close_welcome()
        main = self.ide.main_window()

        # The About box needs neither the dialog nor the picture library.
        # Ctrl is held until the box shows: the program reads it when it takes the F1 key.
        self.ide.focus(main)
        xdotool("keydown", "ctrl")
        try:
            self.ide.keys(main, "F1")
            box = self.ide.main_window("ZorvexIde")
        finally:
            xdotool("keyup", "ctrl")
        texts = wait_for(lambda: self.ide.window_texts("ZorvexIde"), 30, "the About text")
        self.assertIn("ZorvexIde - an editor and build front end for Zorvex Basic", "\n".join(texts))
        self.ide.keys(box, "Return")
        wait_for(lambda: not windows_named("ZorvexIde"), 30, "the About box to close")
        self.ide.close_main_window(main)
        self.assertEqual(self.ide.wait_exit(), 0)

    def test_without_its_picture_the_dialog_still_shows_and_closes(self):
        self.ide = Ide(fresh_program_dir("nopicture", without=[PICTURE]))
        self.ide.answer_greeting(close_welcome=False)
        dialog = self.ide.welcome_window()
        texts = wait_for(lambda: self.ide.window_texts(WELCOME_TITLE), 30, "the dialog's texts")
        self.assertIn("Close", texts)
        self.assertEqual(windows_named(MAIN_TITLE), [])
        # The "Close" button shows all the same.
        wait_for(lambda: white_in_lower_fifth(Picture(screenshot(dialog, "welcome-without-picture"))) > 200,
                 30, "the Close button to be drawn")
        self.ide.close_welcome()
        main = self.ide.main_window()
        self.ide.close_main_window(main)
        self.assertEqual(self.ide.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
