// The names a source declares, as completion and going to a definition find them.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "language/BuiltinList.h"
#include "language/Completion.h"
#include "language/Names.h"
#include "base/TextScan.h"
#include "zorbasic/Builtins.h"
#include "zorbasic/Source.h"

namespace {

const char* KindName(NameKind k) {
  static const char* const names[] = {"sub", "function", "type", "field", "variable", "array", "const", "label", "parameter"};
  return names[static_cast<int>(k)];
}

// "kind name:type @line", with "{first-last owner}" for a name known inside a block only.
std::vector<std::string> Described(const std::vector<Declaration>& names) {
  std::vector<std::string> out;
  for (const Declaration& d : names) {
    std::string s = std::string(KindName(d.kind)) + " " + std::string(d.name);
    if (!d.type.empty()) s += ":" + std::string(d.type);
    if (!d.parameters.empty()) s += "(" + std::string(d.parameters) + ")";
    s += " @" + std::to_string(d.line);
    if (d.scopeLast != INT_MAX)
      s += " {" + std::to_string(d.scopeFirst) + "-" + std::to_string(d.scopeLast) + " " + std::string(d.owner) + "}";
    out.push_back(s);
  }
  return out;
}

std::vector<std::string> Found(const std::string& source) {
  NameIndex index;
  ScanNames(index, source);
  return Described(GatherNames(index));
}

using Names = std::vector<std::string>;

}  // namespace

TEST(NameFinder, FindsEveryFormOfDeclaration) {
  struct Case { std::string source; Names found; };
  const Case cases[] = {
      {"dim x as int", {"variable x:int @0"}},
      {"Dim As Float a, b", {"variable a:Float @0", "variable b:Float @0"}},
      {"dim v(10) as int, m(3, 4) as float", {"array v:int @0", "array m:float @0"}},
      {"dim s as string = \"hi, there\", t as int = f(1, 2)", {"variable s:string @0", "variable t:int @0"}},
      {"dim as string names(5)", {"array names:string @0"}},
      {"const n = 10, m = n * 2", {"const n @0", "const m @0"}},
      {"sub hanoi(n as int, byref a as string)\nend sub",
       {"sub hanoi(n as int, byref a as string) @0", "parameter n:int @0 {0-1 hanoi}",
        "parameter a:string @0 {0-1 hanoi}"}},
      {"function twice(s as string) as string\n  return s & s\nend function",
       {"function twice:string(s as string) @0", "parameter s:string @0 {0-2 twice}"}},
      {"sub greet\nend sub", {"sub greet @0"}},
      {"type point\n  x as int\n  y as int, z as float\nend type\ndim p as point",
       {"type point @0", "field x:int @1 {0-3 point}", "field y:int @2 {0-3 point}", "field z:float @2 {0-3 point}",
        "variable p:point @4"}},
      {"start:\n  goto start\nnot a: label", {"label start @0"}},
      {"x = 5\ns = \"a\"\nlet t = y\nx = 6", {"variable x:float @0", "variable s:string @1", "variable t @2"}},
      {"input \"Name? \", name\ninput age\ninput v(1)", {"variable name:string @0", "variable age:string @1"}},
      {"for i = 1 to 3 : next\nfor i = 1 to 2\nnext", {"variable i:int @0"}},
      {"dim n as int\nn = 4", {"variable n:int @0"}},
      {"if a > 1 then b = 2 else c = \"x\"", {"variable b:float @0", "variable c:string @0"}},
      {"x as int", {}},
      {"p.x = 3\nv(2) = 1\nprint a = 1", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Found(c.source), c.found) << c.source;
}

TEST(NameFinder, NothingInsideStringsOrCommentsCounts) {
  struct Case { std::string source; Names found; };
  const Case cases[] = {
      {"print \"dim a as int\" : dim b as int", {"variable b:int @0"}},
      {"print \"say \"\"hi\"\": dim a as int\"", {}},
      {"print `a \"quoted\" dim a as int`", {}},
      {"' dim a as int\n; dim b as int\n// dim c as int\nrem dim d as int\nx = 1 rem : dim e as int", {"variable x:float @4"}},
      {"print a; b : dim c as int ; dim d as int", {"variable c:int @0"}},
      {"/* dim a as int\ndim b as int\n*/ dim c as int\ndim d /* as int */ as float",
       {"variable c:int @2", "variable d:float @3"}},
      {"dim remark as int", {"variable remark:int @0"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Found(c.source), c.found) << c.source;
}

TEST(NameFinder, NamesInsideASubBelongToIt) {
  const std::string source =
      "dim total as int\n"      // 0
      "sub add(n as int)\n"     // 1
      "  total = total + n\n"   // 2: assigns the global, declares nothing
      "  part = n\n"            // 3: a local name
      "end sub\n"               // 4
      "part = 1\n"              // 5: a global of its own
      "function f(n as float) as float\n"  // 6
      "  dim n2 as int";        // 7: never ended
  EXPECT_EQ(Found(source), (Names{"variable total:int @0", "sub add(n as int) @1", "parameter n:int @1 {1-4 add}",
                                  "variable part @3 {1-4 add}", "variable part:float @5",
                                  "function f:float(n as float) @6", "parameter n:float @6 {6-7 f}",
                                  "variable n2:int @7 {6-7 f}"}));
  NameIndex index;
  ScanNames(index, source);
  std::vector<Declaration> names = GatherNames(index);
  struct Case { const char* name; int line; int found; };  // found: the line of what it finds, -1 none
  const Case cases[] = {{"N", 2, 1}, {"n", 0, -1}, {"part", 3, 3}, {"part", 5, 5}, {"total", 2, 0}, {"n2", 3, -1}};
  for (const Case& c : cases) {
    const Declaration* d = DeclarationAt(names, c.name, c.line);
    EXPECT_EQ(d ? d->line : -1, c.found) << c.name << " @" << c.line;
  }
}

TEST(NameFinder, AChangeReadsOnlyTheLinesItTouches) {
  std::vector<std::string> text = {"dim a as int", "x = 1", "dim b as int", "dim c as int"};
  NameIndex index;
  ScanNames(index, "dim a as int\nx = 1\ndim b as int\ndim c as int");
  int reads = 0;
  LineReader line = [&](int n) { ++reads; return text[n]; };
  struct Step { int first, count; std::vector<std::string> lines; Names found; int reads; };
  const Step steps[] = {
      {1, 1, {"dim y as float", "sub s(q)"}, {"variable a:int @0", "variable y:float @1", "sub s(q) @2",
                                               "parameter q @2 {2-4 s}", "variable b:int @3 {2-4 s}",
                                               "variable c:int @4 {2-4 s}"}, 2},
      {2, 1, {"/* sub s(q)"}, {"variable a:int @0", "variable y:float @1"}, 3},  // the comment takes the rest
      {3, 1, {"*/ dim b as int"}, {"variable a:int @0", "variable y:float @1", "variable b:int @3", "variable c:int @4"}, 2},
      {0, 2, {}, {"variable b:int @1", "variable c:int @2"}, 0},
  };
  for (const Step& s : steps) {
    text.erase(text.begin() + s.first, text.begin() + s.first + s.count);
    text.insert(text.begin() + s.first, s.lines.begin(), s.lines.end());
    reads = 0;
    ChangeLines(index, s.first, s.count, static_cast<int>(s.lines.size()), line);
    EXPECT_EQ(Described(GatherNames(index)), s.found) << s.first;
    EXPECT_EQ(reads, s.reads) << s.first;
  }
}

// An edit that changes no declaration moves the gathered names to their new lines instead of
// having them gathered again from the whole text; one that changes a declaration says so.
TEST(NameFinder, ALineBreakOrADeletedLineMovesTheGatheredNames) {
  const std::vector<std::string> source = {
      "dim a as int",            // 0
      "sub s(q as int)",         // 1
      "  dim t as float",        // 2
      "",                        // 3
      "  print t",               // 4
      "end sub",                 // 5
      "x = 1",                   // 6
      "function f() as int",     // 7: never ended
      "  dim u as string",       // 8
      "  print u"};              // 9
  struct Case { const char* what; int first, count; std::vector<std::string> lines; bool moved; };
  const Case cases[] = {
      {"Enter at the end of a declaration", 0, 1, {"dim a as int", ""}, true},
      {"Enter at the start of a declaration", 0, 1, {"", "dim a as int"}, true},
      {"Enter at the start of a sub's first line", 1, 1, {"", "sub s(q as int)"}, true},
      {"Enter on an empty line inside a sub", 3, 1, {"", "  "}, true},
      {"Enter before an opener that is never ended", 6, 1, {"x = 1", ""}, true},
      {"Enter at the start of that opener", 7, 1, {"", "function f() as int"}, true},
      {"Enter at the end of the source", 9, 1, {"  print u", ""}, true},
      {"an empty line deleted", 3, 2, {"  print t"}, true},
      {"a line of statements deleted", 4, 2, {"end sub"}, true},
      {"a letter in a statement", 6, 1, {"x = 12"}, true},
      {"an assignment to a name declared above", 4, 1, {"  t = 2"}, true},
      {"an assignment to a global from a sub", 4, 1, {"  a = 2"}, true},
      {"a first assignment taken away when declared above", 6, 1, {"print x"}, false},
      {"an assignment that declares a new name", 4, 1, {"  w = 2"}, false},
      {"an assignment to a name declared only below", 3, 1, {"  x = 1"}, false},
      {"an assignment in a later block to a name of this one", 4, 4,
       {"  print t", "end sub", "x = 1", "function f() as int : t = 3"}, false},
      {"a declaration deleted", 2, 2, {""}, false},
      {"an implicit name's type changed", 6, 1, {"x = \"1\""}, false},
      {"a declaration typed", 3, 1, {"  dim w as int"}, false},
      {"an end deleted", 4, 2, {"  print t"}, false},
      {"a comment opened", 6, 1, {"/* x = 1"}, false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = source;
    std::string whole;
    for (const std::string& l : lines) whole += l + "\r\n";
    whole.resize(whole.size() - 2);
    NameIndex index;
    ScanNames(index, whole);
    const NameIndex kept = index;  // the gathered names' texts stay in it, as the IDE keeps them
    std::vector<Declaration> names = GatherNames(kept);
    const EditedLines before = LinesBeforeEdit(index, c.first, c.count);
    lines.erase(lines.begin() + c.first, lines.begin() + c.first + c.count);
    lines.insert(lines.begin() + c.first, c.lines.begin(), c.lines.end());
    ChangeLines(index, c.first, c.count, static_cast<int>(c.lines.size()), [&](int n) { return lines[n]; });
    const bool moved = MoveGatheredNames(names, before, index, static_cast<int>(c.lines.size()));
    EXPECT_EQ(moved, c.moved) << c.what;
    if (moved) {
      EXPECT_EQ(Described(names), Described(GatherNames(index))) << c.what;
    }
  }
  // A sub never ended reaches to the line above the next opener, which the edit moves down.
  std::vector<std::string> lines = {"sub a", "  dim p as int", "sub b", "  dim q as int"};
  NameIndex index;
  ScanNames(index, "sub a\n  dim p as int\nsub b\n  dim q as int");
  const NameIndex kept = index;
  std::vector<Declaration> names = GatherNames(kept);
  const EditedLines before = LinesBeforeEdit(index, 2, 1);
  lines.insert(lines.begin() + 2, "");
  ChangeLines(index, 2, 1, 2, [&](int n) { return lines[n]; });
  ASSERT_TRUE(MoveGatheredNames(names, before, index, 2));
  EXPECT_EQ(Described(names), Described(GatherNames(index)));
  EXPECT_EQ(Described(names)[1], "variable p:int @1 {0-2 a}");
}

TEST(NameFinder, FollowsIncludesOnceAndRelativeToTheIncludingFile) {
  const std::map<std::string, std::string> files = {
      {"C:\\w\\lib\\a.bi", "#include \"inner/b.bi\"\n#include \"../main.zobas\"\nsub fromA\nend sub"},
      {"C:\\w\\lib\\inner\\b.bi", "/*\n#include \"never.bi\"\n*/\n#include `C:\\w\\LIB\\A.BI`\ndim fromB as int"},
      {"C:\\w\\deep0.bi", "#include \"deep1.bi\""},
  };
  std::vector<std::string> asked;
  FileReader read = [&](const std::string& path, std::string& text) {
    asked.push_back(path);
    auto it = files.find(path);
    if (it == files.end()) return false;
    text = it->second;
    return true;
  };
  NameIndex main;
  ScanNames(main, "  #include \"lib\\a.bi\"\nprint \"#include \"\"x.bi\"\"\"\n#include \"missing.bi\"\n#include \"lib/a.bi\"");
  std::vector<IncludedFile> found = GatherIncludes("C:\\w\\main.zobas", main, read);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].path, "C:\\w\\lib\\a.bi");
  EXPECT_EQ(found[1].path, "C:\\w\\lib\\inner\\b.bi");
  EXPECT_EQ(found[1].depth, 2);
  EXPECT_EQ(Described(GatherNames(found[1].names)), Names{"variable fromB:int @4"});
  // "lib\../main.zobas" is the source itself: never read again.
  EXPECT_EQ(asked, (std::vector<std::string>{"C:\\w\\lib\\a.bi", "C:\\w\\lib\\inner\\b.bi", "C:\\w\\missing.bi"}));

  // A chain of includes is followed 32 files deep, as the compile tool follows it.
  std::map<std::string, std::string> chain;
  for (int n = 0; n < 40; ++n) chain["d" + std::to_string(n)] = "#include \"d" + std::to_string(n + 1) + "\"";
  FileReader readChain = [&](const std::string& path, std::string& text) { text = chain[path]; return true; };
  NameIndex top;
  ScanNames(top, "#include \"d0\"");
  EXPECT_EQ(GatherIncludes("top", top, readChain).size(), 32u);
}

// Trees of includes that loop back through "..", by other spellings, from several folders:
// the IDE's name finder and the compile tool's reader each read every file once, in the same
// order, and never the source itself.
TEST(NameFinder, IncludesThatLoopAreReadOncePerGatheringAsTheToolchainReadsThem) {
  using Files = std::map<std::string, std::string>;
  struct Case { const char* what; Files files; std::string main; std::vector<std::string> reads; };
  auto folders = [](int n) {
    Files files{{"C:\\w\\defs.zobas", ""}};
    for (int k = 0; k < n; ++k) {
      files["C:\\w\\defs.zobas"] += "#include \"lib" + std::to_string(k) + "/x.zobas\"\n";
      files["C:\\w\\lib" + std::to_string(k) + "\\x.zobas"] =
          "#include \"../defs.zobas\"\n#include \"..\\lib" + std::to_string((k + 1) % n) + "\\x.zobas\"\n"
          "dim v" + std::to_string(k) + " as int\n";
    }
    return files;
  };
  const Case cases[] = {
      {"two folders back to their includer", folders(2), "#include \"defs.zobas\"",
       {"c:\\w\\defs.zobas", "c:\\w\\lib0\\x.zobas", "c:\\w\\lib1\\x.zobas"}},
      {"three folders, each into the next", folders(3), "#include \"defs.zobas\"",
       {"c:\\w\\defs.zobas", "c:\\w\\lib0\\x.zobas", "c:\\w\\lib1\\x.zobas", "c:\\w\\lib2\\x.zobas"}},
      {"back to the source by other names",
       {{"C:\\w\\lib\\a.inc", "#include \"../MAIN.zobas\"\n#include \".\\..\\lib\\..\\main.zobas.\"\n#include \"b.inc\""},
        {"C:\\w\\lib\\b.inc", "#include `C:/w/./main.zobas`\n#include \"..\\LIB\\A.INC\""}},
       "#include \"lib/a.inc\"\n#include \"LIB\\A.inc\"", {"c:\\w\\lib\\a.inc", "c:\\w\\lib\\b.inc"}},
      {"one file by four spellings", {{"C:\\w\\x.inc", "dim x as int"}},
       "#include \"x.inc\"\n#include \"X.INC\"\n#include \"./x.inc\"\n#include \"sub/../x.inc\"", {"c:\\w\\x.inc"}},
  };
  for (const Case& c : cases) {
    Files byKey;
    for (const auto& [path, text] : c.files) byKey[FileNameKey(path)] = text;
    std::vector<std::string> ideReads, toolReads;
    FileReader read = [&](const std::string& path, std::string& text) {
      ideReads.push_back(FileNameKey(path));
      auto it = byKey.find(FileNameKey(path));
      return it != byKey.end() && (text = it->second, true);
    };
    NameIndex main;
    ScanNames(main, c.main);
    GatherIncludes("C:\\w\\main.zobas", main, read);
    EXPECT_EQ(ideReads, c.reads) << c.what;
    zb::SourceReader toolRead = [&](const std::string& path, std::string& text, std::string& why) {
      toolReads.push_back(FileNameKey(path));
      auto it = byKey.find(FileNameKey(path));
      if (it == byKey.end()) return why = "no such file", false;
      text = it->second;
      return true;
    };
    std::vector<zb::Diag> diags;
    zb::Preprocess("C:\\w\\main.zobas", c.main, toolRead, {}, diags);
    EXPECT_EQ(toolReads, c.reads) << c.what;
    EXPECT_TRUE(diags.empty()) << c.what;
  }
  // A file that cannot be read is asked for once, however many files include it.
  int asked = 0;
  FileReader none = [&](const std::string&, std::string&) { return ++asked, false; };
  NameIndex main;
  ScanNames(main, "#include \"gone.inc\"\n#include \"sub\\..\\GONE.inc\"");
  EXPECT_TRUE(GatherIncludes("C:\\w\\main.zobas", main, none).empty());
  EXPECT_EQ(asked, 1);
}

TEST(Completion, NamesBeginningWithTheLettersTyped) {
  const std::vector<std::string_view> names = {"Total", "tOtal", "toast", "print", "TOTALS", "to", "mid", "t"};
  struct Case { std::string prefix; std::vector<std::string> found; };
  const Case cases[] = {
      {"to", {"to", "toast", "Total", "TOTALS"}},
      {"TOT", {"Total", "TOTALS"}},
      {"x", {}},
      {"", {"mid", "print", "t", "to", "toast", "Total", "TOTALS"}},
  };
  for (const Case& c : cases) EXPECT_EQ(NamesStartingWith(names, c.prefix), c.found) << c.prefix;
}

// The chain of records before a dot, read back from the caret's line.
TEST(Completion, TheRecordsBeforeADot) {
  struct Case { const char* before; std::vector<std::string> chain; };
  const Case cases[] = {
      {"p.", {"p"}},
      {"  print pts(1).", {"pts"}},
      {"x = a.b.", {"a", "b"}},
      {"a.b(i + 1).c(2, 3).", {"a", "b", "c"}},
      {"q = f(\"a)\", (2)).", {"f"}},
      {"m(g(1), `(`).", {"m"}},
      {"x = 1.", {}},           // a number
      {"x = .", {}},            // nothing before the dot
      {"y = (a + b).", {}},     // brackets with no name before them
      {"z = a).", {}},          // unmatched
      {"print \"p\".", {}},     // a string
      {"print p", {}},          // no dot
  };
  for (const Case& c : cases) EXPECT_EQ(RecordChainBefore(c.before, std::string_view(c.before).size()), c.chain) << c.before;
}

// F12 and completion follow a chain to the type whose fields are meant: an element of an array
// of records, a field that is itself a record, a function's result, a parameter, and types
// declared in an included file.
TEST(Completion, FieldsThroughArrayElementsAndNestedRecords) {
  NameIndex doc, lib;
  ScanNames(doc,
            "type point\n x as int\n y as int\nend type\n"        // 0-3
            "type box\n corner as point\n tag as label\nend type\n"  // 4-7
            "dim pts(10) as point, b as box\n"                    // 8
            "function origin() as point\nend function\n"          // 9-10
            "sub s(q as box, x as int)\nend sub\n"                // 11-12
            "dim x as float");                                    // 13
  ScanNames(lib, "type label\n text as string\n x as int\nend type");
  const std::vector<Declaration> document = GatherNames(doc);
  const std::vector<std::vector<Declaration>> included = {GatherNames(lib)};
  const KnownNames known{document, included};
  struct Case { std::vector<std::string> chain; int line; const char* type; std::string field; int fieldLine, file; };
  const Case cases[] = {
      {{"pts"}, 13, "point", "x", 1, -1},
      {{"b", "corner"}, 13, "point", "Y", 2, -1},
      {{"B", "tag"}, 13, "label", "x", 2, 0},           // the type comes from the included file
      {{"origin"}, 13, "point", "x", 1, -1},
      {{"q", "corner"}, 12, "point", "x", 1, -1},        // the parameter inside its sub
      {{"q"}, 13, "", "x", -1, -1},                      // ... unknown outside it
      {{"x"}, 13, "float", "x", -1, -1},                 // no record
      {{"b", "nothing"}, 13, "", "x", -1, -1},
      {{"pts", "x"}, 13, "int", "x", -1, -1},            // a field of no record type
  };
  for (const Case& c : cases) {
    const std::string type = ChainType(known, c.chain, c.line);
    EXPECT_EQ(type, c.type) << c.chain[0];
    int file = 5;
    const Declaration* field = FieldOfType(known, type, c.field, file);
    EXPECT_EQ(field ? field->line : -1, c.fieldLine) << c.chain[0];
    EXPECT_EQ(field ? file : -1, field ? c.file : -1) << c.chain[0];
  }
  EXPECT_EQ(FieldsOfType(known, "Point"), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(FieldsOfType(known, "label"), (std::vector<std::string>{"text", "x"}));
  EXPECT_EQ(FieldsOfType(known, ""), std::vector<std::string>{});
}

TEST(Completion, EnterBreaksTheLineWhenTheListShowedByItselfAndTheWordIsWhole) {
  const std::vector<std::string> names = {"end", "endif", "endselect"};
  struct Case { bool byItself, moved; const char* typed; bool breaks; };
  const Case cases[] = {
      {true, false, "end", true},     {true, false, "END", true},     {true, false, "en", false},
      {true, true, "end", false},     // another name was chosen with the arrows
      {false, false, "end", false},   // Ctrl+Space's list keeps Enter
      {true, false, "", false},       // the fields after a dot, nothing typed yet
  };
  for (const Case& c : cases)
    EXPECT_EQ(EnterBreaksLine(ListShown{c.byItself, c.moved, names}, c.typed), c.breaks) << c.typed << c.byItself << c.moved;
}

TEST(Completion, TheParameterACallIsAt) {
  struct Case { std::string callText; int k; };
  const Case cases[] = {
      {"", 0}, {"s", 0}, {"s, ", 1}, {"s, instr(a, b", 1}, {"s, instr(a, b), ", 2}, {"\"a, b\", ", 1},
      {"\"say \"\"x, y\"\"\", 1, ", 2}, {"`a, \"b`, ", 1}, {"s, (1 + 2) * 3, ", 2}, {"s)", -1}, {"s, 2) + len(", -1},
      {"\"open, ", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CurrentParameter(c.callText), c.k) << c.callText;

  struct Range { std::string parameters; int k; std::string shown; };
  const Range ranges[] = {
      {"[start,] s, find", 0, "start"}, {"[start,] s, find", 1, "s"}, {"a(3), f(x, y)", 1, "f(x, y)"}, {"", 0, ""},
  };
  for (const Range& r : ranges) {
    size_t first = 0, last = 0;
    bool found = ParameterRange(r.parameters, r.k, first, last);
    EXPECT_EQ(found ? r.parameters.substr(first, last - first) : "", r.shown) << r.parameters << " " << r.k;
  }
}

TEST(Completion, TheHintOfACallShowsTheParameterBeingTyped) {
  NameIndex index;
  ScanNames(index, "sub hanoi(n as int, byref a as string)\nend sub\ndim x as int");
  std::vector<Declaration> names = GatherNames(index);
  std::vector<Builtin> builtins = ReadBuiltinList("mid(s, start [, n]) Part of s.\npi() Pi.\n");
  struct Case { std::string name; int k; std::string text, shown; };
  const Case cases[] = {
      {"MID", 1, "mid(s, start [, n])", "start"}, {"mid", 2, "mid(s, start [, n])", "n"}, {"mid", 3, "mid(s, start [, n])", ""},
      {"Hanoi", 1, "hanoi(n as int, byref a as string)", "byref a as string"}, {"pi", 0, "pi()", ""},
      {"x", 0, "", ""}, {"nothing", 0, "", ""},
  };
  for (const Case& c : cases) {
    CallHint hint = HintFor(names, builtins, c.name, 2);
    EXPECT_EQ(hint.text, c.text) << c.name;
    size_t first = 0, last = 0;
    EXPECT_EQ(HintParameter(hint, c.k, first, last) ? hint.text.substr(first, last - first) : "", c.shown) << c.name;
  }
}

TEST(Completion, TheCallsAroundTheCaret) {
  // The caret is at the end of each line; calls are listed innermost first as name@column,
  // the statement's first word last (the hint takes it only when it names a sub).
  struct Case {
    const char* line;
    std::string calls;
  } cases[] = {
      {"print mid(", "mid@10 print@6"},
      {"x = mid(s, len(t", "len@15 mid@8 x@2"},
      {"x = mid(s, (a + b", "mid@8 x@2"},               // a bracket with no name before it
      {"x = mid(s, len(t), ", "mid@8 x@2"},              // the inner call is closed
      {"hanoi ", "hanoi@6"},                            // a sub called without parentheses
      {"  hanoi n - 1, a, ", "hanoi@8"},
      {"print 1: hanoi 3, ", "hanoi@15"},               // the statement behind a colon
      {"hanoi", ""},                                    // the name still being typed
      {"print \"mid(", ""},                              // inside a string
      {"print \"(\" + mid(", "mid@16 print@6"},
      {"' mid(", ""},                                   // inside a comment
      {"x = a(1)(", "x@2"},
      {"x = 2(", "x@2"},
  };
  for (const Case& c : cases) {
    std::string found;
    const std::string_view line(c.line);
    for (const CallSite& call : CallsAround(line, line.size()))
      found += (found.empty() ? "" : " ") + call.name + "@" + std::to_string(call.parametersStart);
    EXPECT_EQ(found, c.calls) << c.line;
  }
}

TEST(BuiltinList, ReadsTheListOrNothingOfADamagedOne) {
  const std::string good = "mid(s, start [, n]) The n characters of s from start on.\r\npi() Pi.\n\nlen(s)\r";
  std::vector<Builtin> list = ReadBuiltinList(good);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, "mid");
  EXPECT_EQ(list[0].parameters, "s, start [, n]");
  EXPECT_EQ(list[0].description, "The n characters of s from start on.");
  EXPECT_EQ(list[2].description, "");
  EXPECT_EQ(FindListedBuiltin(list, "MID"), &list[0]);
  EXPECT_EQ(FindListedBuiltin(list, "left"), nullptr);
  const std::string damaged[] = {good + "left(s, n The first n.\n", good + "(s) nameless\n",
                                 good + "left The first n.\n", std::string("len(s) x\0y\n", 11), "\x89PNG\r\n\x1a\n"};
  for (const std::string& text : damaged) EXPECT_TRUE(ReadBuiltinList(text).empty()) << text;
}

TEST(BuiltinList, TheBuildsListHoldsEveryBuiltinOfTheCompileTool) {
  std::ifstream file(ZOR_BUILTIN_LIST, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  std::vector<Builtin> list = ReadBuiltinList(text.str());
  ASSERT_FALSE(list.empty());
  for (const Builtin& b : list) {
    const zb::BuiltinInfo* function = zb::FindBuiltin(b.name);
    const zb::BuiltinStatement* statement = zb::FindBuiltinStatement(b.name);
    ASSERT_TRUE(function || statement) << b.name;
    EXPECT_EQ(b.description, function ? function->description : statement->description) << b.name;
  }
  for (const char* name : {"len", "sqrt", "ubound", "getfile", "irnd", "print", "input"})
    EXPECT_NE(FindListedBuiltin(list, name), nullptr) << name;
  EXPECT_EQ(FindListedBuiltin(list, "mid")->parameters, "s, start [, n]");
  EXPECT_EQ(FindListedBuiltin(list, "instr")->parameters, "[start,] s, find");
}
