"""A UTF-8 source as a user meets it: opened with its characters shown and "UTF-8" in the status
bar, searched with F3, edited, saved byte for byte with its mark and line ends, and run with F5,
whose console shows the same characters and reads typed ones back; an ANSI program beside it
prints its bytes as before; and the UTF-8 source at 96 and 144 dpi, kept as screenshots."""
import unittest

from display import display_dpi
from ide import MAIN_TITLE, START_TIMEOUT, Ide, Picture, program_with_source, read, screenshot, wait_for, \
    wine_path, xdotool

MARK = b"\xef\xbb\xbf"
SOURCE = MARK + ("' Gr\u00fc\u00dfe\r\nprint \"Gr\u00fc\u00dfe \u20ac \u03a9\"\r\n"
                 "input \"Name? \", n\r\nprint \"Hallo \"; n; \" \"; len(n)\r\n").encode("utf-8")


class Utf8Sources(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def open(self, name, content):
        folder, source = program_with_source(name, "gruss.zobas", content)
        self.ide = Ide(folder, args=[wine_path(source)])
        self.ide.answer_greeting()
        return source, self.ide.main_window()

    def test_a_utf8_source_is_found_in_edited_saved_byte_for_byte_and_run_with_its_characters(self):
        source, window = self.open("utf8", SOURCE)
        wait_for(lambda: (self.ide.status_parts(MAIN_TITLE) or [""])[-1] == "UTF-8", 30, "UTF-8 in the status bar")
        # The find box is an ANSI window: the comment's word taken into it (Ctrl+F3) shows there in
        # Windows-1252, and F3 finds it again as the document's UTF-8, in the string.
        self.ide.click(window, 300, 300)
        self.ide.keys(window, "ctrl+Home", "Right", "Right", "ctrl+shift+Right", "ctrl+F3")
        self.ide.main_window("Find")
        wait_for(lambda: "Gr\u00fc\u00dfe" in (self.ide.window_texts("Find") or []), 30, "the word in the find box")
        self.ide.keys(window, "Escape", "F3")
        # Typed over the selected word. "\u00b1" has a key of its own on the display's keyboard;
        # a letter that xdotool types on a key it maps for a moment only (ü, ö) may be lost, as
        # Wine may look that key up after the moment is over.
        self.ide.type_text(window, "Tschau\u00b1")
        self.ide.keys(window, "ctrl+s")
        saved = SOURCE.replace("\"Gr\u00fc\u00dfe".encode("utf-8"), "\"Tschau\u00b1".encode("utf-8"))
        try:
            wait_for(lambda: read(source) == saved, 30, "the edited source, its mark and line ends kept")
        except TimeoutError:
            self.fail("the source holds %r" % read(source))
        # The title follows the write.
        saved_title = wait_for(lambda: (lambda title: title if title.startswith("Saved ") else None)(
            xdotool("getwindowname", window)), 30, "the title of the saved document")
        self.assertEqual(self.ide.status_parts(saved_title)[-1], "UTF-8")
        self.ide.keys(window, "F5")
        wait_for(lambda: "Tschau\u00b1 \u20ac \u03a9" in self.ide.console_text(utf8=True), START_TIMEOUT,
                 "the program's characters in the console")
        wait_for(lambda: "Name?" in self.ide.console_text(utf8=True), 30, "the prompt")
        console = self.ide.console_window()
        self.ide.click(console, 100, 100)  # a click makes the console the active window again
        self.ide.type_text(console, "J\u00b1rg")
        self.ide.keys(console, "Return")
        # len counts bytes: ± is two of them in UTF-8.
        try:
            wait_for(lambda: "Hallo J\u00b1rg 5" in self.ide.console_text(utf8=True), 60, "the typed name read back")
        except TimeoutError:
            self.fail("the console shows: " + self.ide.console_text(utf8=True)[-300:])

    def test_an_ansi_program_prints_its_bytes_as_before(self):
        _, window = self.open("ansi", b"print \"Gr\xfc\xdfe\"\r\n")  # Windows-1252
        self.assertEqual(self.ide.status_parts(MAIN_TITLE), ["Compiler ZorvexBasic 2017-24"],
                         "no encoding part for an ANSI document")
        self.ide.keys(window, "F5")
        wait_for(lambda: "Gr\u00fc\u00dfe" in self.ide.console_text(utf8=True), START_TIMEOUT, "the program's output")

    def test_a_utf8_source_at_96_and_144_dpi(self):
        sizes = {}
        for dpi in (96, 144):
            with display_dpi(dpi):
                _, window = self.open("utf8-%ddpi" % dpi, SOURCE)
                wait_for(lambda: (self.ide.status_parts(MAIN_TITLE) or [""])[-1] == "UTF-8", 30, "UTF-8 shown")
                # The editor's text is painted: dark letters on its white ground.
                last = {}

                def painted():
                    shot = Picture(screenshot(window, "utf8-%ddpi" % dpi))
                    dark = shot.count_where(lambda r, g, b: r + g + b < 200)
                    steady = dark == last.get("dark")
                    last["dark"] = dark
                    return dark if steady and dark > 0 else None
                sizes[dpi] = wait_for(painted, 30, "the painted UTF-8 source")
                self.ide.kill()
                self.ide = None
        self.assertGreater(sizes[144], sizes[96], "the text grows with the scale")


if __name__ == "__main__":
    unittest.main()
