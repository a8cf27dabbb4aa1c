"""A project as its user has it: started with a .zoproj file, its list in the project box, its
Project menu, and switching to a listed file at its remembered line."""
import os
import unittest

from ide import Ide, fresh_program_dir, read, wait_for, wine_path


class Project(unittest.TestCase):
    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def test_a_project_argument_fills_the_list_and_its_menu_switches_to_a_listed_file(self):
        folder = fresh_program_dir("project")
        work = os.path.join(folder, "work")
        os.makedirs(work)
        source = os.path.join(work, "lines.bas")
        with open(source, "wb") as f:
            f.write(b"".join(b"line %d\r\n" % n for n in range(1, 61)))
        # The file lies in the program folder, so the project names it in its "$" form.
        project_text = (b"$project\r\n$files\r\n<[lines.bas]>\t000030 [$\\work\\lines.bas]\r\n\r\n"
                        b"$main [$\\work\\lines.bas]\r\n\r\n$command Dir Example\r\n[\r\ndir\r\n]\r\n")
        project = os.path.join(work, "demo.zoproj")
        with open(project, "wb") as f:
            f.write(project_text)

        self.ide = Ide(folder, args=[wine_path(project)])
        self.ide.answer_greeting()
        window = self.ide.main_window()
        texts = wait_for(lambda: self.ide.window_texts("ZorvexIde_2023/24 ->beta "), 30, "the window's texts")
        self.assertIn("<[lines.bas]>\t000030 [$\\work\\lines.bas]\r", texts)
        # Project menu: "Dir Example" first, then the file item.
        self.ide.keys(window, "alt+p", "Down", "Return")
        title = "Switched to $\\work\\lines.bas"
        self.ide.main_window(title)
        self.ide.type_text(window, "!")
        self.ide.keys(window, "ctrl+s")
        wait_for(lambda: b"!line 30\r\n" in read(source), 30, "the mark at the remembered line")


if __name__ == "__main__":
    unittest.main()
