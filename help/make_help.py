#!/usr/bin/env python3
"""Writes the help file of Zorvex Basic from topics.txt: a page for every word of the IDE's
keyword list (and for input), an index page, the compiled zorvex_help.chm, and on request
every page's example with the output it must print."""
import argparse
import html
import os
import re
import shutil
import subprocess
import sys
from dataclasses import dataclass, field

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
TOPICS = os.path.join(HERE, "topics.txt")
STARTUP_TEXT = os.path.join(ROOT, "shell", "StartupText.cpp")
# The viewer opens this page when it is given no page. HelpPageName never writes "_", so no
# word's page can take its name.
INDEX_PAGE = "_index.htm"
INDEX_TOPIC = "(index)"
TITLE = "Zorvex Basic Help"
ENCODING = "cp1252"
# Words of the language that the IDE's keyword list lacks; they get pages all the same.
EXTRA_WORDS = ("input",)
# A folder that this script fills holds this file, so that it may be emptied again.
MARKER = ".zorvex-help"
SECTIONS = ("example", "file", "input", "output")


class HelpError(Exception):
    pass


@dataclass
class Topic:
    words: list
    line: int
    see: list = field(default_factory=list)
    summary: list = field(default_factory=list)  # paragraphs, each a list of lines
    example: str = ""
    files: list = field(default_factory=list)  # (name, text)
    input: str = None
    output: str = None


@dataclass
class Page:
    name: str
    word: str  # as the page shows it
    topic: Topic = None  # None for a reserved word
    listed: bool = True  # whether the word is in the IDE's keyword list


# --- Words and page names -------------------------------------------------------------------

def help_page_name(word):
    """The IDE's page name of a word (bytes): letters a..z after lower-casing A..Z stay, every
    other byte c becomes "a" and the decimal value of c - 31; then ".htm"."""
    page = []
    for c in word:
        if 65 <= c <= 90:
            c += 32
        page.append(chr(c) if 97 <= c <= 122 else "a" + str(c - 31))
    return "".join(page) + ".htm"


_ESCAPES = {"n": 10, "r": 13, "t": 9, "a": 7, "b": 8, "f": 12, "v": 11,
            "\\": 92, "'": 39, '"': 34, "?": 63}


def _unescape(literal):
    """The bytes of the body of a C string literal."""
    out = bytearray()
    i = 0
    while i < len(literal):
        c = literal[i]
        if c != "\\":
            out += c.encode("latin-1")
            i += 1
            continue
        nxt = literal[i + 1]
        if nxt in _ESCAPES:
            out.append(_ESCAPES[nxt])
            i += 2
        elif nxt == "x":
            m = re.match(r"[0-9A-Fa-f]+", literal[i + 2:])
            out.append(int(m.group(0), 16) & 0xFF)
            i += 2 + len(m.group(0))
        else:
            m = re.match(r"[0-7]{1,3}", literal[i + 1:])
            if not m:
                raise HelpError(f"unknown escape \\{nxt} in the keyword list")
            out.append(int(m.group(0), 8) & 0xFF)
            i += 1 + len(m.group(0))
    return bytes(out)


def keyword_list_text(source=STARTUP_TEXT):
    """The IDE's keyword list, read from the string literals that define KeywordList."""
    with open(source, encoding="latin-1") as f:
        code = f.read()
    m = re.search(r"\bKeywordList\s*=((?:\s*\"(?:[^\"\\\n]|\\.)*\")+)\s*;", code)
    if not m:
        raise HelpError(f"{source}: no definition of KeywordList")
    return b"".join(_unescape(body) for body in re.findall(r"\"((?:[^\"\\\n]|\\.)*)\"", m.group(1)))


def keywords(list_text):
    """The words of the keyword list (bytes), in order, duplicates kept."""
    return list_text.split()


def display_word(word):
    """A word as a page shows it: letter case folded like the page name (the language ignores it)."""
    folded = bytes(c + 32 if 65 <= c <= 90 else c for c in word)
    try:
        return folded.decode(ENCODING)
    except UnicodeDecodeError:  # the five bytes that Windows-1252 leaves unassigned
        return folded.decode("latin-1")


# --- The topic table ------------------------------------------------------------------------

def read_topics(path=TOPICS):
    """The topics of the table, and the index page's own text (a topic without words)."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    topics, index, current, section, body = [], None, None, None, []

    def close_section():
        nonlocal body
        if current is None or section is None:
            return
        while body and not body[-1].strip():
            body.pop()
        text = "".join(line + "\n" for line in body)
        kind, _, name = section.partition(" ")
        if kind == "example":
            current.example = text
        elif kind == "file":
            current.files.append((name.strip(), text))
        elif kind == "input":
            current.input = text
        else:
            current.output = text
        body = []

    for number, line in enumerate(lines, 1):
        if line.startswith("=== "):
            close_section()
            section = None
            current = Topic(words=line[4:].split(), line=number)
            if current.words == [INDEX_TOPIC]:
                index = current
            else:
                topics.append(current)
        elif current is None:
            if line.strip() and not line.startswith("#"):
                raise HelpError(f"{path}({number}): text before the first topic")
        elif line.startswith("--- "):
            close_section()
            section = line[4:].strip()
            if section.partition(" ")[0] not in SECTIONS or section == "file":
                raise HelpError(f"{path}({number}): unknown section '{section}'")
        elif section is not None:
            body.append(line)
        elif line.startswith("see:") and not current.summary:
            current.see += line[4:].split()
        elif not line.strip():
            if current.summary and current.summary[-1]:
                current.summary.append([])
        else:
            if not current.summary:
                current.summary.append([])
            current.summary[-1].append(line.strip())
    close_section()
    for topic in topics + ([index] if index else []):
        if topic.summary and not topic.summary[-1]:
            topic.summary.pop()
    return topics, index


def check_topics(topics, words, path=TOPICS):
    """Refuses a table that would give a wrong or broken help file."""
    known = {help_page_name(w) for w in words} | {help_page_name(w.encode()) for w in EXTRA_WORDS}
    owner, files = {}, {}
    for topic in topics:
        where = f"{path}({topic.line})"
        if not topic.summary or not topic.example:
            raise HelpError(f"{where}: topic {topic.words[0]} needs a summary and an example")
        if topic.input is not None and topic.output is None:
            raise HelpError(f"{where}: topic {topic.words[0]} has an input but no output")
        for word in topic.words:
            page = help_page_name(word.encode(ENCODING))
            if page not in known:
                raise HelpError(f"{where}: {word} is not a word of the keyword list")
            if page in owner:
                raise HelpError(f"{where}: {word} already belongs to the topic at line {owner[page].line}")
            owner[page] = topic
        for name, text in topic.files:
            if not re.fullmatch(r"[A-Za-z0-9_][A-Za-z0-9_.-]*", name) or name.endswith((".zobas", ".in", ".out")):
                raise HelpError(f"{where}: '{name}' cannot be the name of an example's file")
            if files.setdefault(name, text) != text:
                raise HelpError(f"{where}: another topic has a different file {name}")
    for topic in topics:
        for word in topic.see:
            if help_page_name(word.encode(ENCODING)) not in owner:
                raise HelpError(f"{path}({topic.line}): see: {word} has no topic")
    return owner


def plan_pages(words, topics):
    """Every page of the help file but the index, by name, in keyword-list order: one page for
    each page name, however often its word appears."""
    owner = check_topics(topics, words)
    pages = {}
    for word in words:
        name = help_page_name(word)
        if name not in pages:
            pages[name] = Page(name, display_word(word), owner.get(name))
    for word in EXTRA_WORDS:
        name = help_page_name(word.encode())
        if name not in pages:
            pages[name] = Page(name, word, owner.get(name), listed=False)
    for topic in topics:  # a page shows the word as its topic writes it
        for word in topic.words:
            pages[help_page_name(word.encode(ENCODING))].word = word
    return pages


# --- Pages ----------------------------------------------------------------------------------

def esc(text):
    """Text as HTML element content (old viewers know only the named entities)."""
    return html.escape(text, quote=False)


def attr(text):
    """Text as a quoted HTML attribute value."""
    return esc(text).replace('"', "&quot;")


def inline(text):
    """Table text as HTML: {text} becomes code, everything else is escaped."""
    parts = re.split(r"\{([^{}]*)\}", text)
    return "".join(f"<code>{esc(p)}</code>" if i % 2 else esc(p)
                   for i, p in enumerate(parts))


def paragraphs(summary):
    """Summary paragraphs as HTML; a paragraph of "- " lines is a list."""
    out = []
    for para in summary:
        if para[0].startswith("- "):
            items = []
            for line in para:
                if line.startswith("- "):
                    items.append(line[2:])
                else:
                    items[-1] += " " + line
            out.append("<ul>\n" + "".join(f"<li>{inline(item)}</li>\n" for item in items) + "</ul>")
        else:
            out.append(f"<p>{inline(' '.join(para))}</p>")
    return "\n".join(out) + "\n"


def document(title, body):
    return ("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html>\n<head>\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
            f"<title>{esc(title)}</title>\n</head>\n<body>\n{body}</body>\n</html>\n")


def link(page):
    return f"<a href=\"{page.name}\">{esc(page.word)}</a>"


def related(page, pages):
    """The pages a page points to: the other words of its topic, then its see: words."""
    topic = page.topic
    names = [help_page_name(w.encode(ENCODING)) for w in topic.words + topic.see]
    seen, out = {page.name}, []
    for name in names:
        if name not in seen:
            seen.add(name)
            out.append(pages[name])
    return out


def reserved_text(page):
    kind = "directive name" if re.match(r"#[a-z]", page.word) else "word"
    text = (f"<p><code>{esc(page.word)}</code> is a reserved {kind} of Zorvex Basic. It is "
            "in the IDE's keyword list, but this version of the language does not use it.</p>\n")
    if page.word[0] in "';":
        text += (f"<p>In a program, <code>{esc(page.word[0])}</code> starts a comment that runs "
                 "to the end of the line.</p>\n")
    return text


def page_html(page, pages):
    body = f"<p><a href=\"{INDEX_PAGE}\">{TITLE}</a></p>\n<h1>{esc(page.word)}</h1>\n"
    topic = page.topic
    if topic is None:
        return document(page.word, body + reserved_text(page))
    body += paragraphs(topic.summary)
    if not page.listed:
        body += (f"<p>The editor does not colour <code>{esc(page.word)}</code>: it is not in "
                 "the IDE's keyword list.</p>\n")
    body += f"<h2>Example</h2>\n<pre>{esc(topic.example)}</pre>\n"
    for name, text in topic.files:
        body += f"<p>The file <code>{esc(name)}</code> beside it:</p>\n<pre>{esc(text)}</pre>\n"
    if topic.input is not None:
        body += f"<h2>Input</h2>\n<pre>{esc(topic.input)}</pre>\n"
    if topic.output is not None:
        body += f"<h2>Output</h2>\n<pre>{esc(topic.output)}</pre>\n"
    see = related(page, pages)
    if see:
        body += "<p>See also: " + ", ".join(link(p) for p in see) + "</p>\n"
    return document(page.word, body)


def groups(pages):
    """The explained words grouped by topic (sorted by their first word), and the reserved words
    (sorted)."""
    by_topic = {}
    for page in pages.values():
        if page.topic is not None:
            by_topic.setdefault(id(page.topic), (page.topic, []))[1].append(page)
    explained = sorted((sorted(ps, key=lambda p: p.topic.words.index(p.word)) for _, ps in by_topic.values()),
                       key=lambda ps: ps[0].word)
    reserved = sorted((p for p in pages.values() if p.topic is None), key=lambda p: p.word)
    return explained, reserved


def index_html(pages, index_topic):
    explained, reserved = groups(pages)
    body = f"<h1>{TITLE}</h1>\n"
    if index_topic:
        body += paragraphs(index_topic.summary)
    body += "<h2>Words of the language</h2>\n<ul>\n"
    body += "".join("<li>" + ", ".join(link(p) for p in group) + "</li>\n" for group in explained)
    body += "</ul>\n<h2>Reserved words</h2>\n<p>Words of the IDE's keyword list that this version of the language does not use:</p>\n<p>"
    body += " \n".join(link(p) for p in reserved) + "</p>\n"
    return document(TITLE, body)


def sitemap_entry(name, local=None):
    entry = f"<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"{attr(name)}\">"
    if local:
        entry += f"<param name=\"Local\" value=\"{local}\">"
    return entry + "</object>\n"


def sitemap(entries):
    return ("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<html>\n<head>\n</head>\n<body>\n"
            f"<ul>\n{entries}</ul>\n</body>\n</html>\n")


def contents_hhc(pages):
    explained, reserved = groups(pages)
    entries = sitemap_entry(TITLE, INDEX_PAGE)
    entries += sitemap_entry("Words of the language") + "<ul>\n"
    entries += "".join(sitemap_entry(p.word, p.name) for group in explained for p in group) + "</ul>\n"
    entries += sitemap_entry("Reserved words") + "<ul>\n"
    entries += "".join(sitemap_entry(p.word, p.name) for p in reserved) + "</ul>\n"
    return sitemap(entries)


def index_hhk(pages):
    ordered = sorted(pages.values(), key=lambda p: p.word)
    return sitemap("".join(sitemap_entry(p.word, p.name) for p in ordered))


def project_hhp(pages):
    files = "".join(name + "\n" for name in [INDEX_PAGE] + list(pages))
    return ("[OPTIONS]\nCompatibility=1.1 or later\nCompiled file=zorvex_help.chm\n"
            "Contents file=zorvex_help.hhc\nIndex file=zorvex_help.hhk\n"
            f"Default topic={INDEX_PAGE}\nDisplay compile progress=No\n"
            f"Language=0x409 English (United States)\nTitle={TITLE}\nDefault Window=main\n\n"
            f"[WINDOWS]\nmain=\"{TITLE}\",\"zorvex_help.hhc\",\"zorvex_help.hhk\",\"{INDEX_PAGE}\","
            f"\"{INDEX_PAGE}\",,,,,0x2520,,0x387e,,,,,,,,0\n\n[FILES]\n{files}")


# --- Output folders -------------------------------------------------------------------------

def fresh_folder(path):
    """Creates path empty; an existing folder is emptied only when this script made it."""
    if os.path.isdir(path) and os.listdir(path):
        if not os.path.exists(os.path.join(path, MARKER)):
            raise HelpError(f"{path} is not a folder this script wrote; not emptying it")
        shutil.rmtree(path)
    os.makedirs(path, exist_ok=True)
    open(os.path.join(path, MARKER), "w").close()


def write_file(path, text, encoding=ENCODING, newline="\n"):
    try:
        data = text.replace("\n", newline).encode(encoding)
    except UnicodeEncodeError as e:
        raise HelpError(f"{os.path.basename(path)}: {e.object[e.start:e.end]!r} has no {encoding} code") from None
    with open(path, "wb") as f:
        f.write(data)


def write_pages(folder, pages, index_topic):
    fresh_folder(folder)
    write_file(os.path.join(folder, INDEX_PAGE), index_html(pages, index_topic))
    for page in pages.values():
        write_file(os.path.join(folder, page.name), page_html(page, pages))
    write_file(os.path.join(folder, "zorvex_help.hhc"), contents_hhc(pages))
    write_file(os.path.join(folder, "zorvex_help.hhk"), index_hhk(pages))
    write_file(os.path.join(folder, "zorvex_help.hhp"), project_hhp(pages), newline="\r\n")


def compile_chm(folder, chm_path, chmcmd="chmcmd"):
    """Compiles the pages in folder and puts the file in place whole, or not at all."""
    try:
        run = subprocess.run([chmcmd, "zorvex_help.hhp"], cwd=folder, capture_output=True, text=True,
                             errors="replace", timeout=300)
    except (OSError, subprocess.TimeoutExpired) as e:
        raise HelpError(f"could not run {chmcmd}: {e}") from None
    report = run.stdout + run.stderr
    built = os.path.join(folder, "zorvex_help.chm")
    # A warning names a page that a link or the project points to but that was not written.
    if run.returncode != 0 or "Warning" in report or not os.path.isfile(built):
        raise HelpError(f"{chmcmd} failed:\n{report.strip()}")
    os.makedirs(os.path.dirname(os.path.abspath(chm_path)), exist_ok=True)
    part = chm_path + ".part"
    shutil.copyfile(built, part)
    os.replace(part, chm_path)


def example_stem(page):
    return page.name[:-len(".htm")]


def write_examples(folder, pages):
    """For every page whose example has an output: <stem>.zobas (the program, CR LF lines),
    <stem>.out (what it prints), <stem>.in (its console input, when it reads any), and the files
    the examples need beside them. Returns the number of examples."""
    fresh_folder(folder)
    count = 0
    for page in pages.values():
        topic = page.topic
        if topic is None or topic.output is None:
            continue
        stem = os.path.join(folder, example_stem(page))
        write_file(stem + ".zobas", topic.example, newline="\r\n")
        write_file(stem + ".out", topic.output)
        if topic.input is not None:
            write_file(stem + ".in", topic.input)
        for name, text in topic.files:
            write_file(os.path.join(folder, name), text, newline="\r\n")
        count += 1
    return count


def load(topics_path=TOPICS, source=STARTUP_TEXT):
    """The pages and the index text from the table and the IDE's keyword list."""
    topics, index_topic = read_topics(topics_path)
    return plan_pages(keywords(keyword_list_text(source)), topics), index_topic


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--chm", help="compile the help file to this path")
    parser.add_argument("--pages", help="folder for the pages (default: out/help-pages)")
    parser.add_argument("--examples", help="write every example and its output to this folder")
    parser.add_argument("--chmcmd", default="chmcmd", help="the help compiler")
    args = parser.parse_args(argv)
    out = os.environ.get("ZOR_OUT") or os.path.join(ROOT, "out")
    try:
        pages, index_topic = load()
        if args.chm or args.pages:
            folder = args.pages or os.path.join(out, "help-pages")
            write_pages(folder, pages, index_topic)
            if args.chm:
                compile_chm(folder, args.chm, args.chmcmd)
        if args.examples:
            write_examples(args.examples, pages)
    except (HelpError, OSError, ValueError) as e:  # ValueError: a table that is not UTF-8
        print(f"make_help: {e}", file=sys.stderr)
        return 1
    explained = sum(1 for p in pages.values() if p.topic)
    print(f"make_help: {len(pages) + 1} pages: the index, {explained} explained words, "
          f"{len(pages) - explained} reserved words")
    return 0


if __name__ == "__main__":
    sys.exit(main())
