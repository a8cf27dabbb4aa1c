"""The main window as a user sees it at 1300 x 700: the coloured command buttons, the
window and box colours, the picture buttons with their balloons and the status bar. The
screenshots are kept under out/e2e/screenshots."""
import os
import unittest

from ide import (MAIN_TITLE, SCREENSHOTS, Ide, Picture, fresh_program_dir, screen_area, screenshot, wait_for,
                 wine_path, xdotool)


class Appearance(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def test_wide_window_shows_coloured_buttons_boxes_pictures_and_status_bar(self):
        folder = fresh_program_dir("appearance")
        with open(os.path.join(folder, "zorvexIde.cfg"), "wb") as f:
            f.write(("$dir [%s]\r\n$file []\r\n$pos [0]\r\n$sizeX [1300]\r\n$sizeY [700]\r\n"
                     "$font [Lucida Console]\r\n$fontsize [12]\r\n" % wine_path(folder)).encode("cp1252"))
        self.ide = Ide(folder)
        self.ide.answer_greeting()
        window = self.ide.main_window()
        # Colours and a lower bound of the pixels each covers; the finder boxes hide part of
        # the button row.
        faces = {
            (255, 255, 0): 1000,    # the "New File" face
            (0, 255, 0): 2000,      # five green faces
            (0, 0, 255): 800,       # three blue faces
            (255, 0, 0): 800,       # two red faces, red captions and box texts
            (125, 168, 190): 5000,  # the window background
            (128, 200, 200): 5000,  # the finder boxes
            (250, 220, 30): 40,     # the daffodil's petals on the first picture button
        }

        def painted():
            shot = Picture(screenshot(window, "main-1300x700"))
            return shot if all(shot.count(c) >= n for c, n in faces.items()) else None
        try:
            wait_for(painted, 30, "the painted main window")
        except TimeoutError:
            shot = Picture(os.path.join(SCREENSHOTS, "main-1300x700.png"))
            self.fail("colours found: %s" % {c: shot.count(c) for c in faces})
        texts = wait_for(lambda: self.ide.window_texts(MAIN_TITLE), 30, "the window's texts")
        self.assertIn("Compiler ZorvexBasic 2017-24", texts)

        # Resting the mouse on the first picture button brings up its balloon, above the
        # button, in orange on white.
        x, y = self.ide.geometry(window)[:2]

        def balloon():
            shot = Picture(screen_area("balloon", x - 100, y - 300, 500, 400))
            return shot.count((250, 150, 0)) > 100 and shot.count((255, 255, 255)) > 1000

        def hovered():
            xdotool("mousemove", "--sync", str(x + 300), str(y + 300))  # come from elsewhere
            xdotool("mousemove", "--sync", str(x + 22), str(y + 60))  # below the caption and the menu bar
            try:
                return wait_for(balloon, 5, "the balloon")
            except TimeoutError:
                return False
        wait_for(hovered, 30, "the balloon of the first picture button")
        self.ide.close_main_window(window)
        self.assertEqual(self.ide.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
