"""The help file: one page for every word of the editor's keyword list, named as the IDE names
it, an index page that the viewer opens first and that links every page, and examples that
print what their pages say. Needs no Wine."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

from ide import DIST, OUT, ROOT

sys.path.insert(0, os.path.join(ROOT, "help"))
import make_help  # noqa: E402

CHM = os.path.join(DIST, "inf", "zorvex_help.chm")
HELPNAMES = os.path.join(OUT, "tests", "helpnames")
# The language's native runner: prints what the program given as its argument prints.
RUNNER = os.environ.get("ZORRUN") or os.path.join(OUT, "tests", "zorrun")


def ide_keyword_list():
    return subprocess.run([HELPNAMES, "--keywords"], capture_output=True, check=True, timeout=60).stdout


def ide_page_names(words):
    lines = "".join(w.hex() + "\n" for w in words)
    result = subprocess.run([HELPNAMES], input=lines, capture_output=True, text=True, check=True, timeout=60)
    return result.stdout.splitlines()


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def chmls(*args):
    return subprocess.run(["chmls", *args], capture_output=True, text=True, check=True, timeout=120).stdout


class HelpFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="zorvex-help-")
        chmls("extractall", CHM, cls.folder)
        cls.listed = {line.strip().lstrip("/") for line in chmls("-n", "list", CHM).splitlines()
                      if line.strip().endswith(".htm")}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def page(self, name):
        return read_bytes(os.path.join(self.folder, name)).decode("cp1252")

    def test_file_holds_one_page_for_every_keyword_and_input(self):
        words = make_help.keywords(ide_keyword_list())
        expected = set(ide_page_names(words)) | {"input.htm", make_help.INDEX_PAGE}
        self.assertEqual(self.listed, expected)
        for name in ("print.htm", "a4include.htm", "wend.htm", "a8qa26.htm", "pa32.htm", "a4a4a4.htm"):
            self.assertIn(name, self.listed)

    def test_viewer_opens_the_index_page_first(self):
        system = chmls("printsystem", CHM)
        self.assertRegex(system, r"Default topic from \[options\]\s*:" + re.escape(make_help.INDEX_PAGE))

    def test_index_page_links_every_page(self):
        links = set(re.findall(r'<a href="([^"]+)"', self.page(make_help.INDEX_PAGE)))
        self.assertEqual(links, self.listed - {make_help.INDEX_PAGE})

    def test_pages_are_plain_windows_1252_html(self):
        for name in sorted(self.listed):
            with self.subTest(page=name):
                text = self.page(name)
                self.assertIn('charset=windows-1252', text)
                self.assertNotRegex(text.lower(), r"<script|javascript:|&#x")

    def test_pages_say_what_their_word_is(self):
        printing = self.page("print.htm")
        self.assertIn("<h1>print</h1>", printing)
        self.assertIn("<h2>Example</h2>", printing)
        self.assertIn("<h2>Output</h2>\n<pre>n is 6\n", printing)
        self.assertIn("<h1>#include</h1>", self.page("a4include.htm"))
        self.assertIn("reserved directive name", self.page("a4pragma.htm"))
        self.assertIn("reserved word", self.page("qword.htm"))


class PageNames(unittest.TestCase):
    def test_generator_reads_the_ides_keyword_list(self):
        self.assertEqual(make_help.keyword_list_text(), ide_keyword_list())

    def test_generator_names_pages_as_the_ide_does(self):
        words = make_help.keywords(ide_keyword_list()) + [
            b"", b"Print", b"#include", b"end_if", b"word2", b"a b", b"\t", b"\x00", b"\x1f",
            b"\x7f", b"\x80", b"\xc4", b"\xff", b"AZ@[`{az", b"input"]
        self.assertEqual([make_help.help_page_name(w) for w in words], ide_page_names(words))


class TopicTable(unittest.TestCase):
    """A table that would give a wrong help file is refused, naming the fault."""

    def check(self, table):
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
            f.write(table)
        try:
            topics, _ = make_help.read_topics(f.name)
            make_help.check_topics(topics, [b"print", b"PRINT", b"dim"], f.name)
        finally:
            os.remove(f.name)

    def test_faulty_tables_are_refused(self):
        example = "--- example\nprint 1\n--- output\n1\n"
        cases = [
            ("a word of no keyword", f"=== prnt\nWrites.\n{example}", "prnt is not a word"),
            ("a word in two topics", f"=== print\nA.\n{example}=== PRINT\nB.\n{example}", "already belongs"),
            ("a see: word without a topic", f"=== print\nsee: dim\nA.\n{example}", "see: dim has no topic"),
            ("no example", "=== print\nA.\n", "needs a summary and an example"),
            ("input without output", "=== print\nA.\n--- example\nx\n--- input\n1\n", "no output"),
            ("an unknown section", f"=== print\nA.\n--- outptu\n{example}", "unknown section"),
            ("a file name with a path", f"=== print\nA.\n{example}--- file ../x.inc\ny\n", "cannot be the name"),
        ]
        for what, table, message in cases:
            with self.subTest(what):
                with self.assertRaisesRegex(make_help.HelpError, re.escape(message)):
                    self.check(table)
        self.check(f"=== print\nsee: dim\nA.\n{example}=== dim\nB.\n{example}")

    def test_a_folder_it_did_not_write_is_never_emptied(self):
        with tempfile.TemporaryDirectory() as folder:
            keep = os.path.join(folder, "mine.zobas")
            with open(keep, "w") as f:
                f.write("print 1\n")
            with self.assertRaises(make_help.HelpError):
                make_help.write_examples(folder, {})
            self.assertTrue(os.path.exists(keep))
            target = os.path.join(folder, "examples")
            make_help.write_examples(target, {})
            make_help.write_examples(target, {})  # its own folder it empties again


@unittest.skipUnless(os.path.isfile(RUNNER), f"no runner at {RUNNER}")
class Examples(unittest.TestCase):
    def test_every_example_prints_what_its_page_says(self):
        pages, _ = make_help.load()
        with tempfile.TemporaryDirectory() as folder:
            examples = os.path.join(folder, "examples")
            self.assertGreater(make_help.write_examples(examples, pages), 0)
            names = sorted(os.listdir(examples))
            beside = [n for n in names if not n.endswith((".zobas", ".out", ".in")) and n != make_help.MARKER]
            for source in (n for n in names if n.endswith(".zobas")):
                stem = source[:-len(".zobas")]
                with self.subTest(example=source):
                    self.run_example(examples, stem, beside, os.path.join(folder, stem))

    def run_example(self, examples, stem, beside, work):
        os.makedirs(work)
        for name in [stem + ".zobas"] + beside:
            shutil.copy(os.path.join(examples, name), work)
        stdin = os.path.join(examples, stem + ".in")
        given = read_bytes(stdin) if os.path.exists(stdin) else b""
        expected = read_bytes(os.path.join(examples, stem + ".out")).decode("cp1252")
        result = subprocess.run([RUNNER, stem + ".zobas"], cwd=work, input=given, capture_output=True, timeout=30)
        printed = result.stdout.decode("cp1252", errors="replace").replace("\r\n", "\n")
        self.assertEqual(printed, expected, result.stderr.decode("cp1252", errors="replace"))
        self.assertEqual(result.returncode, 0, result.stderr.decode("cp1252", errors="replace"))


if __name__ == "__main__":
    unittest.main()
