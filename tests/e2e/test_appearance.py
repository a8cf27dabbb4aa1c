"""The main window as a user sees it at 1300 x 700: the coloured command buttons, the
window and box colours, the picture buttons with their balloons and the status bar; and the
same on a display of 144 dpi (150%), every part grown by half, the pictures drawn for it. The
screenshots are kept under out/e2e/screenshots."""
import os
import subprocess
import unittest

from display import display_dpi
from ide import (DIST, MAIN_TITLE, SCREENSHOTS, Ide, Picture, fresh_program_dir, move_pointer, screen_area, screenshot,
                 wait_for, wine_path)

BALLOON_TEXT = (250, 150, 0)  # the orange of the balloons' text
DAFFODIL = (250, 220, 30)     # the petals on the first picture button


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
            DAFFODIL: 40,           # the daffodil's petals on the first picture button
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
            return shot.count(BALLOON_TEXT) > 100 and shot.count((255, 255, 255)) > 1000

        def hovered():
            move_pointer(x + 300, y + 300)  # come from elsewhere
            move_pointer(x + 22, y + 60)  # below the caption and the menu bar
            try:
                return wait_for(balloon, 5, "the balloon")
            except TimeoutError:
                return False
        wait_for(hovered, 30, "the balloon of the first picture button")
        self.ide.close_main_window(window)
        self.assertEqual(self.ide.wait_exit(), 0)


def write_settings(folder, width, height):
    with open(os.path.join(folder, "zorvexIde.cfg"), "wb") as f:
        f.write(("$dir [%s]\r\n$file []\r\n$pos [0]\r\n$sizeX [%d]\r\n$sizeY [%d]\r\n"
                 "$font [Lucida Console]\r\n$fontsize [12]\r\n" % (wine_path(folder), width, height)).encode("cp1252"))


def side_of(path):
    """(width, height) of a picture file."""
    out = subprocess.run(["identify", "-format", "%w %h\n", path], capture_output=True, text=True, check=True,
                         timeout=60).stdout.split("\n")[0].split()
    return int(out[0]), int(out[1])


class AppearanceAtScale(unittest.TestCase):
    """The same program at 96 and at 144 dpi, as Wine shows it with its display scale set for the run."""

    # Colours that cover a part of the window whose area grows with the scale.
    FACES = {
        (255, 255, 0): "the yellow face of New File",
        (0, 255, 0): "the green faces",
        (0, 0, 255): "the blue faces",
        (128, 200, 200): "the finder boxes",
        DAFFODIL: "the daffodil on the first picture button",
    }

    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def test_every_picture_is_drawn_at_every_scale_at_its_grown_size(self):
        pictures = [("zitronenfalter.ico", (32, 32)), ("2001-A-Space-Odyssey-1.jpg", (440, 380))]
        pictures += [(os.path.join("pix", name), (30, 30)) for name in
                     ("narzisse3.bmp", "musiker.bmp", "blattstein.bmp", "gitarre.bmp", "pizza.bmp", "hundies.bmp",
                      "torte.bmp", "akkordeon.bmp", "b\u00e4nke.bmp", "sonne1b.bmp")]
        for name, (width, height) in pictures:
            for percent in (100, 125, 150, 200):
                stem, ext = os.path.splitext(name)
                scaled = name if percent == 100 else "%s@%d%s" % (stem, percent, ext)
                grown = ((width * percent + 50) // 100, (height * percent + 50) // 100)
                self.assertEqual(side_of(os.path.join(DIST, scaled)), grown, scaled)

    def show(self, dpi):
        """Starts the IDE on a display of dpi with a window of 1300 x 700 pixels at 96 dpi grown
        by the scale; keeps screenshots of its welcome dialog, main window and first balloon.
        Returns what they show."""
        grow = lambda pixels: (pixels * dpi + 48) // 96  # noqa: E731
        width, height = grow(1300), grow(700)
        folder = fresh_program_dir("appearance-%ddpi" % dpi)
        write_settings(folder, width, height)
        seen = {}
        with display_dpi(dpi):
            self.ide = Ide(folder)
            self.ide.answer_greeting(close_welcome=False)
            dialog = self.ide.welcome_window()

            def pictured():
                shot = Picture(screenshot(dialog, "welcome-%ddpi" % dpi))
                return shot if shot.count_where(lambda r, g, b: b > r + 12 and r < 60) > shot.width * shot.height // 3 \
                    else None
            wait_for(pictured, 30, "the welcome picture")
            seen["welcome"] = self.ide.geometry(dialog)[2:]
            self.ide.close_welcome()
            window = self.ide.main_window()
            name = "main-%dx%d-%ddpi" % (width, height, dpi)

            # The toolbar's pictures and the status bar paint one after the other: the window is
            # painted when two screenshots in a row show the same faces.
            last = {}

            def painted():
                shot = Picture(screenshot(window, name))
                faces = {colour: shot.count(colour) for colour in self.FACES}
                steady = faces == last.get("faces")
                last["faces"] = faces
                return faces if steady and faces[(255, 255, 0)] > 1000 and faces[DAFFODIL] > 40 else None
            seen["faces"] = wait_for(painted, 30, "the painted main window")
            seen["main"] = self.ide.geometry(window)[2:]
            x, y = self.ide.geometry(window)[:2]

            def balloon():
                area = Picture(screen_area("balloon-%ddpi" % dpi, x - 100, y - grow(300), grow(500), grow(400)))
                return area.count(BALLOON_TEXT) if area.count(BALLOON_TEXT) > 100 else 0

            def hovered():
                move_pointer(x + grow(300), y + grow(300))
                move_pointer(x + grow(22), y + grow(60))
                try:
                    return wait_for(balloon, 5, "the balloon")
                except TimeoutError:
                    return 0
            seen["balloon"] = wait_for(hovered, 30, "the balloon of the first picture button")
            self.ide.close_main_window(window)
            self.assertEqual(self.ide.wait_exit(), 0)
            self.ide = None
        return seen

    def test_at_144_dpi_every_part_is_the_one_at_96_grown_by_half(self):
        at96, at144 = self.show(96), self.show(144)
        self.assertEqual(at144["main"], (1950, 1050))  # the settings' size is the display's pixels
        for at, ninety_six in zip(at144["welcome"], at96["welcome"]):
            self.assertAlmostEqual(at, ninety_six * 1.5, delta=3, msg="the welcome dialog %s" % (at144["welcome"],))
        # Areas grow by 1.5 x 1.5; the edges of the faces and boxes (two pixels at any scale) make
        # the small ones grow a little more.
        for colour, what in self.FACES.items():
            ratio = at144["faces"][colour] / max(1, at96["faces"][colour])
            self.assertTrue(1.9 < ratio < 3.0, "%s: %d pixels at 144 dpi, %d at 96" %
                            (what, at144["faces"][colour], at96["faces"][colour]))
        self.assertGreater(at144["balloon"], at96["balloon"] * 1.5)


if __name__ == "__main__":
    unittest.main()
