"""What the user sees of a run that fails, and where the keys go after a box: F5 on a program
that divides by zero lists its error line, and F6 goes there; Cancel in the close prompt gives
the keyboard back to the editor."""
import unittest

from ide import MAIN_TITLE, Ide, focused_window, program_with_source, read, wait_for, wine_path, windows_named, xdotool

DIVIDES_BY_ZERO = b"a = 1\r\nb = 0\r\nprint a / b\r\nprint \"never\"\r\n"


class FailedRunAndFocus(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def start(self, name, content):
        folder, source = program_with_source(name, "divide.zobas", content)
        self.ide = Ide(folder, args=[wine_path(source)])
        self.ide.answer_greeting()
        return source, self.ide.main_window()

    def status_says(self, text):
        texts = self.ide.window_texts(MAIN_TITLE) or []
        return any(text in line for line in texts)

    def test_f5_on_a_division_by_zero_lists_the_line_and_f6_goes_there(self):
        source, window = self.start("failed-run", DIVIDES_BY_ZERO)
        self.ide.keys(window, "ctrl+Home", "F5")
        wait_for(lambda: "divide.zobas(3): division by zero" in self.ide.console_text(), 60, "the error in the console")
        console = self.ide.console_text()
        self.assertIn("---- run of " + wine_path(source) + " at ", console)  # the run's line before its output
        wait_for(lambda: self.status_says("The run ended with an error: ") and self.status_says("(3): division by zero"),
                 60, "the status bar naming the error")
        self.ide.keys(window, "F6")
        self.ide.type_text(window, "'")
        self.ide.keys(window, "ctrl+s")
        wait_for(lambda: read(source) == b"a = 1\r\nb = 0\r\n'print a / b\r\nprint \"never\"\r\n", 30,
                 "the caret on line 3")

    def test_cancel_in_the_close_prompt_gives_the_keys_back_to_the_editor(self):
        source, window = self.start("close-cancel", b"print 1\r\n")
        self.ide.click(window, 300, 300)
        self.ide.keys(window, "ctrl+End")
        self.ide.type_text(window, "x")  # unsaved text: closing asks
        self.ide.keys(window, "alt+F4")
        prompt = wait_for(lambda: (windows_named("Closing Zorvexide") or [None])[0], 30, "the close prompt")
        self.ide.keys(prompt, "Escape")
        wait_for(lambda: not windows_named("Closing Zorvexide"), 30, "the prompt to close")
        self.ide.wait_keys_taken()
        wait_for(lambda: focused_window() == window, 30, "the keyboard back in the main window")
        xdotool("type", "--delay", "20", "yz")  # typed wherever the keys go now
        xdotool("key", "ctrl+s")
        wait_for(lambda: read(source) == b"print 1\r\nxyz", 30, "the letters in the editor")


if __name__ == "__main__":
    unittest.main()
