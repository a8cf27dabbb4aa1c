"""The debugger in the IDE: a breakpoint set with Ctrl+B, the program started with Ctrl+D in
the IDE's console, a step with F10 and one back with Shift+F10, an expression typed into the
KeywordBox, and Shift+F5 ending it, judged by the status bar, the listing panel and the console."""
import unittest

from ide import MAIN_TITLE, Ide, move_pointer, program_with_source, wait_for, wine_path, xdotool

SOURCE = (b"dim who as string\r\n"
          b"input \"Name? \", who\r\n"
          b"dim count as int = 6\r\n"
          b"count = count + 1\r\n"
          b"print \"Hello, \"; who; count\r\n")


class Debugger(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def texts(self):
        """Every child window's text of the main window, joined (status bar, panel, boxes)."""
        return "\n".join(self.ide.window_texts(MAIN_TITLE) or [])

    def wait_shown(self, *parts, what):
        try:
            wait_for(lambda: all(p in self.texts() for p in parts), 60, what)
        except TimeoutError as error:
            raise TimeoutError(f"{error}; the window shows: {self.texts()!r}") from None

    def test_break_step_back_evaluate_and_stop(self):
        folder, source = program_with_source("debugger", "greet.zobas", SOURCE)
        self.ide = Ide(folder, args=[wine_path(source)])
        self.ide.answer_greeting()
        window = self.ide.main_window()
        # F2 on "count" leaves the word in the KeywordBox, where it can be found and clicked.
        self.ide.keys(window, "ctrl+Home", "Down", "Down", "Right", "Right", "Right", "Right", "Right", "F2")
        self.wait_shown("count: variable count as int", what="the compiler's answer about count")
        self.ide.keys(window, "Down", "ctrl+b")
        self.wait_shown("Breakpoint set at line 4", what="the breakpoint")

        self.ide.keys(window, "ctrl+d")
        wait_for(lambda: "Name?" in self.ide.console_text(), 60, "the program's prompt")
        console = self.ide.console_window()
        self.ide.click(console, 100, 100)
        self.ide.type_text(console, "Ada")
        self.ide.keys(console, "Return")
        self.wait_shown("Stopped at line 4", "count as int = 6", "who as string = \"Ada\"", "Call stack:",
                        "main program, line 4 of greet.zobas", what="the stop at the breakpoint")

        self.ide.wait_keys_taken()
        self.ide.click(window, 300, 300)  # the main window active again, as the console was
        self.ide.keys(window, "F10")
        self.wait_shown("Stopped at line 5", "* count as int = 7", what="the step over line 4")
        self.ide.keys(window, "shift+F10")
        self.wait_shown("Stopped at line 4, a step back", "count as int = 6", what="the step back")
        self.assertNotIn("count as int = 7", self.texts())

        point = wait_for(lambda: self.ide.point_of(MAIN_TITLE, "count", whole=True), 30, "the KeywordBox")
        move_pointer(point[0] + 2, point[1] + 4)
        xdotool("click", "1")  # one click: a double-click anywhere hands the focus to the editor
        # Typed where the click put the focus: giving the window the focus again would hand it
        # to the editor.
        xdotool("key", "End", "shift+Home")
        xdotool("type", "--delay", "15", "? count * 7 & who")
        xdotool("key", "Return")
        self.wait_shown("> ? count * 7 & who", "42Ada", what="the expression's value in the panel")

        self.ide.keys(window, "shift+F5")
        self.wait_shown("The program ended with exit code", what="the end of the session")
        self.assertNotIn("Hello", self.ide.console_text())


if __name__ == "__main__":
    unittest.main()
