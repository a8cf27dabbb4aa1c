// The Zorvex Basic front end and interpreter: a table of small programs with their console
// input and the exact console text they give, including their error lines.
#include <gtest/gtest.h>

#include <map>

#include "zorbasic/Front.h"
#include "zorbasic/Interp.h"
#include "zorbasic/NumberText.h"
#include "zorbasic/Payload.h"
#include "zorbasic/ToolArgs.h"
#include "zorbasic/native/BigStack.h"

namespace {

class TestHost : public zb::Host {
 public:
  explicit TestHost(std::string input) : input_(std::move(input)) {}
  void Write(std::string_view text) override { out.append(text); }
  bool ReadLine(std::string& line) override {
    if (at_ >= input_.size()) return false;
    size_t end = input_.find('\n', at_);
    if (end == std::string::npos) end = input_.size();
    line = input_.substr(at_, end - at_);
    at_ = end + 1;
    return true;
  }
  void ShowBox(const std::string& text) override { out += "[box " + text + "]\n"; }
  std::string out;

 private:
  std::string input_;
  size_t at_ = 0;
};

// Runs source as the file "t.zobas" (included files come from files); returns the console
// text with every error line after it, and the exit code.
std::string RunProgram(const std::string& source, const std::string& input = "", int* exitCode = nullptr,
                       const std::map<std::string, std::string>& files = {}, int maxDepth = zb::MaxCallDepth) {
  auto reader = [&](const std::string& path, std::string& text, std::string& why) {
    auto it = files.find(path);
    if (it == files.end()) {
      why = "no such file";
      return false;
    }
    text = it->second;
    return true;
  };
  std::vector<std::string> errors;
  std::string out;
  // On a thread with the stack of the Windows tools, as zorrun runs programs.
  int code = zbnative::RunOnToolStack([&](uintptr_t floor) {
    zb::Program prog;
    prog.stackFloor = floor;
    if (!zb::LoadProgram("t.zobas", source, reader, prog, errors)) return 1;
    TestHost host(input);
    std::string error;
    int result = zb::Run(prog, host, error, maxDepth);
    out = host.out;
    if (result) errors.push_back(error);
    return result;
  });
  for (const std::string& e : errors) out += e + "\n";
  if (exitCode) *exitCode = code;
  return out;
}

struct ProgramCase {
  const char* what;
  const char* source;
  const char* input;
  const char* expected;
};

const ProgramCase Programs[] = {
    {"the language's own example",
     "' squares and a greeting\ndim n as int\nfor n = 1 to 3\n  print n, n * n\nnext\nfunction twice(s as string) as string\n"
     "  return s & s\nend function\nprint twice(\"ab\")\n",
     "", "1 1\n2 4\n3 9\nabab\n"},
    {"print separators and a trailing separator", "print 1, 2; 3\nprint \"a\";\nprint \"b\",\nprint \"c\"\nprint\nprint \"d\"", "",
     "1 23\nab c\n\nd\n"},
    {"numbers print in their shortest exact form",
     "print 7, 0.5, 1e20, 1/3, 2^10, 10/4, -0.1, 1e-7, 0.00012, 1e15, 123456789012345.5, 0x1F, 2.5e-3, 3.", "",
     "7 0.5 1e+20 0.3333333333333333 1024 2.5 -0.1 1e-07 0.00012 1000000000000000 123456789012345.5 31 0.0025 3\n"},
    {"whole numbers below 1e16 print as plain digits, larger ones with an exponent",
     "print 2^53, -9999999999999998, 1e16, 123456789012345678, 10000000000000000 * -1", "",
     "9007199254740992 -9999999999999998 1e+16 1.2345678901234568e+17 -1e+16\n"},
    {"keywords and names ignore letter case", "DIM Total AS INT\ntotal = 4\nPrint TOTAL", "", "4\n"},
    {"rem starts a comment, as a line or after a statement",
     "rem the first line\nprint 1 rem not printed\nx = 2: REM more\nremainder = 3\nprint x; remainder", "", "1\n23\n"},
    {"comments of every kind and ; outside print",
     "print 1 ' one\nprint 2 // two\n; a whole line\nx = 3 ; set x\nprint x /* inline */ + 1\n/* over\nseveral lines */\nprint \"a;b\"; \"'c\"",
     "", "1\n2\n4\na;b'c\n"},
    {"statements separated by colons", "a = 1: b = 2: print a + b", "", "3\n"},
    {"strings with doubled quotes and back quotes", "print \"say \"\"hi\"\"\"\nprint `it's \"quoted\"`", "", "say \"hi\"\nit's \"quoted\"\n"},
    {"line breaks CR, LF and CR LF", "print 1\rprint 2\r\nprint 3\n", "", "1\n2\n3\n"},
    {"undeclared names: strings, floats and int for counters", "s = \"x\" & 1\nf = 7 / 2\nfor k = 1 to 2: next\nprint s, f, k", "",
     "x1 3.5 3\n"},
    {"integer types hold their whole range",
     "dim b as byte = 255\ndim w as word = 65535\ndim d as dword = 4294967295\ndim i as int = -2147483648\nprint b, w, d, i", "",
     "255 65535 4294967295 -2147483648\n"},
    {"a value past an int's range is an error, never a wrap-around",
     "dim j as int = 2147483647\nprint j\nj = j + 1\nprint j", "", "2147483647\nt.zobas(3): 2147483648 does not fit in an int (-2147483648 to 2147483647)\n"},
    {"a value past a byte's range is an error", "dim b as byte = 250\nb = b + 10", "", "t.zobas(2): 260 does not fit in a byte (0 to 255)\n"},
    {"a negative value in a dword is an error", "dim d as dword = -1", "", "t.zobas(1): -1 does not fit in a dword (0 to 4294967295)\n"},
    {"a for loop cannot start from a value its counter cannot hold", "for j = 46341 * 46341 to 46341 * 46341 + 1\n  print j\nnext", "",
     "t.zobas(1): 2147488281 does not fit in an int (-2147483648 to 2147483647)\n"},
    {"a fraction past a byte's range after rounding", "dim b as byte\nb = 255.5", "", "t.zobas(2): 255.5 does not fit in a byte (0 to 255)\n"},
    {"integer arithmetic past 64 bits goes on as floats",
     "print 9223372036854775807 + 1, 3037000500 * 3037000500 > 0\ndim f as float = 4611686018427387904 * 4\nprint f", "",
     "9.223372036854776e+18 -1\n1.8446744073709552e+19\n"},
    {"floats stored in integers round halves to even", "dim i as int\ni = 2.5: print i;\ni = 3.5: print i;\ni = -2.7: print i", "", "24-3\n"},
    {"arithmetic operators",
     "print 7 + 2, 7 - 2, 7 * 2, 7 / 2, 7 \\ 2, 7 mod 3, -7 mod 3, 2 ^ 3, 1 shl 4, 256 shr 2, -7 \\ 2", "",
     "9 5 14 3.5 3 1 -1 8 16 64 -3\n"},
    {"precedence from the tightest: ^, unary -, * /, \\, mod, + - &, shl shr, comparisons, not, and, or xor",
     "print 2 ^ 3 ^ 2, -2 ^ 2, 1 + 2 & 3, 1 shl 2 + 1, 2 * 3 mod 4, 7 \\ 2 * 2, 7 mod 4 \\ 2, 1 = 1 and 0 = 0 or 1 = 2, not 1 = 2 and 0", "",
     "64 -4 33 8 2 1 1 -1 0\n"},
    {"precedence: power over minus, and over or, not over comparison",
     "print -2 ^ 2, 2 + 3 * 4, (2 + 3) * 4, 1 = 1 or 1 = 2 and 1 = 2, not 1 = 2", "", "-4 14 20 -1 -1\n"},
    {"logic works bitwise on integers and on comparisons",
     "print 12 and 10, 12 or 3, 6 xor 3, not 0, 3 > 2 and 2 > 1, true, false\nif 5 then print \"five is true\"", "",
     "8 15 5 -1 -1 -1 0\nfive is true\n"},
    {"strings compare by bytes and join with & or +", "print \"abc\" < \"abd\", \"B\" < \"a\", \"x\" + \"y\", \"n=\" & 3.5 & true", "",
     "-1 -1 xy n=3.5-1\n"},
    {"string built-ins",
     "s = \"Hello World\"\nprint len(s); left(s, 5); \"|\"; right(s, 5); \"|\"; mid(s, 7); \"|\"; mid(s, 2, 3)\n"
     "print ucase(s); lcase(s)\nprint \"[\"; ltrim(\"  a \"); \"][\"; rtrim(\" a  \"); \"]\"\n"
     "print instr(s, \"o\"), instr(6, s, \"o\"), instr(s, \"z\"), instr(s, \"\")\n"
     "print str(2.5) & \"!\", val(\" 12abc\"), val(\"x\"), val(\"-1.5e2\"), val(\"0x10\")\n"
     "print chr(65); asc(\"a\"); asc(\"\"), hex(255), hex(-1), \"[\" & space(3) & \"]\"\n"
     "print left(s, -1) = \"\", mid(s, 50) = \"\", left(s, 50)",
     "",
     "11Hello|World|World|ell\nHELLO WORLDhello world\n[a ][ a]\n5 8 0 1\n2.5! 12 0 -150 16\nA970 FF FFFFFFFF [   ]\n-1 -1 Hello World\n"},
    {"numeric built-ins",
     "print abs(-3), abs(-2.5), sgn(-4), sgn(0), sqr(16), sqrt(2.25), int(-2.5), int(2.7), frac(2.75), floor(-1.5), ceil(1.2)\n"
     "print round(2.5), round(3.5), round(-0.5) = 0, pow(2, 10), hypot(3, 4), exp(0), log(1), sin(0), cos(0), atn(1) * 4 = pi, atan(0), asin(1) = pi / 2, acos(1), tan(0)",
     "", "3 2.5 -1 0 4 1.5 -3 2 0.75 -2 2\n2 4 -1 1024 5 1 0 0 1 -1 0 -1 0 0\n"},
    {"random numbers stay in range",
     "ok = 1\nfor k = 1 to 1000\n  r = rnd\n  n = irnd(3, 5)\n  if r < 0 or r >= 1 or n < 3 or n > 5 then ok = 0\nnext\nprint ok", "", "1\n"},
    {"two-dimensional arrays, ubound and lbound",
     "dim m(3, 4) as float\nfor i = 1 to 3\n  for j = 1 to 4\n    m(i, j) = i * 10 + j\n  next\nnext\n"
     "print m(2, 3), ubound(m), ubound(m, 2), lbound(m), lbound(m, 2)\nredim m(4, 5)\nprint m(2, 3), m(3, 4), m(4, 5)\n"
     "dim v(7) as bool\nprint ubound(v), v(7)",
     "", "23 3 4 1 1\n23 34 0\n7 0\n"},
    {"arrays count from 1 and redim keeps elements",
     "dim v(3) as int\nfor k = 1 to 3: v(k) = k * 10: next\nredim v(5)\nv(5) = 50\nprint v(1); v(3); v(4); v(5)\ndim names(2) as string\nnames(2) = \"b\"\nprint \"[\" & names(1) & names(2) & \"]\"",
     "", "1030050\n[b]\n"},
    {"records, nested records and arrays of records",
     "type point\n  x as int\n  y as int\nend type\ntype box\n  a as point\n  b as point\n  label as string\nend type\n"
     "dim p as point\np.x = 3\np.y = 4\ndim q as point\nq = p\nq.x = 9\nprint p.x, q.x, p.y\n"
     "dim bx as box\nbx.b.y = 7\nbx.label = \"L\"\nprint bx.b.y; bx.label; bx.a.x\ndim ps(2) as point\nps(2).x = 5\nprint ps(2).x + ps(1).x",
     "", "3 9 4\n7L0\n5\n"},
    {"elements of an array of records read as defaults until they are written",
     "type rec\n  n as int\n  f as float\n  s as string\n  ok as bool\nend type\ndim a(1000) as rec\n"
     "print a(1).n; a(500).f; \"[\" & a(999).s & \"]\"; a(1000).ok\na(300).s = \"x\"\n"
     "print a(299).n; a(300).s; a(301).n; \"[\" & a(301).s & \"]\"",
     "", "00[]0\n0x0[]\n"},
    {"byref reaches fields and whole elements of an array of records",
     "type point\n  x as int\n  y as int\nend type\nsub bump(byref n as int)\n  n = n + 1\nend sub\n"
     "sub shift(byref p as point, dx as int)\n  p.x = p.x + dx\n  bump p.y\nend sub\ndim r(600) as point\n"
     "bump r(3).x\nbump r(3).x\nshift r(599), 5\nshift r(3), 1\nprint r(3).x, r(3).y, r(599).x, r(599).y, r(598).x",
     "", "3 1 5 1 0\n"},
    {"redim keeps the elements of an array of records; those cut off come back as defaults",
     "type item\n  n as int\n  s as string\nend type\ndim v(300) as item\nv(1).n = 1: v(257).s = \"b\": v(258).n = 8: v(300).n = 3\n"
     "redim v(600)\nprint v(1).n, v(257).s, v(300).n, v(600).n\nredim v(258)\nredim v(600)\n"
     "print v(257).s, v(258).n, \"[\" & v(300).n & \"]\"\n"
     "dim m(2, 3) as item\nm(2, 3).n = 23: m(1, 2).s = \"q\"\nredim m(3, 4)\nprint m(2, 3).n, m(1, 2).s, m(3, 4).n, m(2, 4).n",
     "", "1 b 3 0\nb 8 [0]\n23 q 0 0\n"},
    {"nested records inside an array of records",
     "type point\n  x as int\n  y as int\nend type\ntype seg\n  a as point\n  b as point\n  name as string\nend type\n"
     "dim s(3) as seg\ns(2).b.y = 7\ns(2).name = \"two\"\ndim p as point\np = s(2).b\np.x = 1\ns(3).a = p\n"
     "print s(2).b.y, s(2).b.x, s(3).a.x, s(3).a.y, s(2).name, s(1).a.y, p.y",
     "", "7 0 1 7 two 0 7\n"},
    {"records with strings are copied, never shared, between elements, variables and results",
     "type person\n  name as string\n  age as int\nend type\nfunction make(n as string, a as int) as person\n  dim p as person\n"
     "  p.name = n\n  p.age = a\n  return p\nend function\ndim people(3) as person\npeople(1) = make(\"Ada\", 36)\n"
     "people(2) = people(1)\npeople(2).name = people(2).name & \" L.\"\ndim one as person\none = people(2)\npeople(2).age = 37\n"
     "people(3) = people(3)\npeople(1) = people(1)\n"
     "print people(1).name; \"/\"; people(1).age; \" \"; people(2).name; \"/\"; people(2).age; \" \"; one.name; \"/\"; one.age; \" \"; "
     "make(\"Bo\", 5).name; \"[\"; people(3).name; \"]\"",
     "", "Ada/36 Ada L./37 Ada L./36 Bo[]\n"},
    {"const values, including expressions", "const n = 10, greeting = \"hi\", half = n / 4\nconst big as int = 2.6\nprint n, greeting, half, big", "",
     "10 hi 2.5 3\n"},
    {"block if with elseif and else, and endif",
     "for k = 1 to 4\n  if k = 1 then\n    print \"one\"\n  elseif k = 2 then\n    print \"two\"\n  elseif k = 3 then\n    print \"three\"\n  else\n    print \"many\"\n  endif\nnext",
     "", "one\ntwo\nthree\nmany\n"},
    {"one-line if with else and several statements",
     "x = 5\nif x > 3 then print \"big\": print \"really\" else print \"small\"\nif x < 3 then print \"small\" else print \"not small\": print \"done\"",
     "", "big\nreally\nnot small\ndone\n"},
    {"a for counter never wraps round its type",
     "dim b as byte\nfor b = 250 to 255\n  print b;\nnext\nprint\ndim w as word\nfor w = 2 to 0 step -1\n  print w;\nnext\nprint\nprint b, w", "",
     "250251252253254255\n210\n255 0\n"},
    {"for with step, negative step, float step and next with its name",
     "for i = 1 to 10 step 4: print i;: next i\nprint\nfor i = 3 to 1 step -1: print i;: next\nprint\ndim f as float\nfor f = 0 to 1 step 0.25: print f; \" \";: next\nprint\nfor i = 5 to 1: print \"never\": next\nprint i",
     "", "159\n321\n0 0.25 0.5 0.75 1 \n5\n"},
    {"exit for leaves the innermost for from inside other loops",
     "for i = 1 to 3\n  j = 0\n  while true\n    j = j + 1\n    do\n      if j = 2 then exit for\n      exit do\n    end do\n  wend\nnext\nprint i; j", "",
     "12\n"},
    {"while with wend, endwhile and end while",
     "i = 0\nwhile i < 2\n  i = i + 1\nwend\nwhile i < 4\n  i = i + 1\nendwhile\nwhile i < 6\n  i = i + 1\nend while\nprint i", "", "6\n"},
    {"do until exit do, enddo, and repeat until",
     "i = 0\ndo\n  i = i + 1\n  if i = 3 then exit do\nend do\ndo\n  i = i + 1\n  if i >= 5 then exit do\nenddo\nrepeat\n  i = i + 10\nuntil i > 30\nprint i", "", "35\n"},
    {"exit for, break and continue leave or restart the innermost loop",
     "for i = 1 to 3\n  for j = 1 to 3\n    if j = 2 then continue\n    if j = 3 then break\n    print i; j; \" \";\n  next\n  if i = 2 then exit for\nnext\nprint\n"
     "k = 0\nwhile true\n  k = k + 1\n  if k > 2 then exit while\nwend\nprint k",
     "", "11 21 \n3\n"},
    {"case is compares the select value",
     "for k = 8 to 12\n  select k\n  case is < 9\n    print \"a\";\n  case 10\n    print \"b\";\n  case is >= 11\n    print \"c\";\n  case else\n    print \"d\";\n  end select\nnext\nprint",
     "", "adbcc\n"},
    {"select with lists, ranges, strings and case else",
     "for k = 0 to 6\n  select k\n  case 1, 2\n    print \"a\";\n  case 3 to 5\n    print \"b\";\n  case else\n    print \"c\";\n  end select\nnext\nprint\n"
     "select case \"pear\"\ncase \"apple\"\n  print \"no\"\ncase \"pear\", \"plum\"\n  print \"yes\"\nendselect",
     "", "caabbbc\nyes\n"},
    {"subs and functions, by value and byref, called every way",
     "sub bump(byref n as int, by as int)\n  n = n + by\n  by = 0\nend sub\nfunction sq(x as float) as float\n  return x * x\nend function\n"
     "dim a as int = 1\ndim step1 as int = 2\nbump a, step1\nbump(a, 3)\ncall bump(a, 4)\nprint a, step1, sq(1.5)\nsq 2",
     "", "10 2 2.25\n"},
    {"byref given a literal or an expression works on a copy",
     "sub inc(byref b as int)\n  b = b + 1\n  print b\nend sub\ndim y as int = 4\ninc(5)\ninc(y + 1)\ninc y\nprint y", "", "6\n6\n5\n5\n"},
    {"byref given a variable of another type is an error before running",
     "sub inc(byref b as int)\n  b = b + 1\nend sub\ndim f as float\nprint 1\ninc(f)", "", "t.zobas(6): byref parameter b of inc is int, but f is float\n"},
    {"byref reaches array elements and record fields",
     "type t\n  v as int\nend type\nsub setit(byref n as int)\n  n = 42\nend sub\ndim arr(2) as int\ndim r as t\nsetit arr(2)\nsetit r.v\nprint arr(2), r.v", "",
     "42 42\n"},
    {"recursion", "function fib(n as int) as int\n  if n < 2 then return n\n  return fib(n - 1) + fib(n - 2)\nend function\nprint fib(20)", "",
     "6765\n"},
    {"functions return records and strings",
     "type p2\n  x as int\nend type\nfunction make(v as int) as p2\n  dim r as p2\n  r.x = v\n  return r\nend function\nfunction greet(n as string) as string\n  return \"hi \" & n\nend function\nprint make(7).x, greet(\"bo\")",
     "", "7 hi bo\n"},
    {"globals are visible in subs; locals stay local",
     "dim counter as int\nsub tick()\n  dim local1 as int\n  local1 = local1 + 1\n  counter = counter + local1\nend sub\ntick\ntick()\nprint counter", "", "2\n"},
    {"exit sub and exit function", "sub s1()\n  print \"a\"\n  exit sub\n  print \"b\"\nend sub\nfunction f1() as int\n  exit function\nend function\ns1\nprint f1()",
     "", "a\n0\n"},
    {"goto and gosub with labels on their own lines",
     "i = 0\nagain:\ni = i + 1\nif i < 3 then goto again\nprint i\ngosub show\ngosub show\nend\nshow:\nprint \"shown\"\nreturn", "", "3\nshown\nshown\n"},
    {"end and terminate stop the program", "print 1\nend\nprint 2", "", "1\n"},
    {"terminate inside a sub stops the program", "sub stop1()\n  terminate\nend sub\nstop1\nprint 2", "", ""},
    {"input with a prompt, numbers into numeric variables",
     "dim name as string\ndim age as int\ninput \"Name? \", name\ninput \"Age? \", age\ninput x\nprint name; \" \"; age + 1; \" \"; x & x", "Ada\n36\n2.5\n",
     "Name? Age? ? Ada 37 2.52.5\n"},
    {"input into a variable first met there reads a string", "input \"Name? \", name\nprint \"Hello, \" & name", "Bob\n", "Name? Hello, Bob\n"},
    {"input reads a number with blanks around it, rounding it for an integer",
     "dim n as int\ndim f as float\ninput n\ninput f\nprint n, f", " 2.5 \n0x1F\n", "? ? 2 31\n"},
    {"input of a line that is not a number for a numeric variable", "dim n as int\ninput n\nprint n", "12abc\n",
     "? t.zobas(2): input needs a number for n, not \"12abc\"\n"},
    {"mbox and msgbox show a box", "mbox \"hi\"\nmsgbox 3", "", "[box hi]\n[box 3]\n"},
    {"dim forms: as first, lists, values and inferred types",
     "dim as float a, b\ndim c, d as int\ndim s = \"str\"\ndim e as string = \"e\", g as int = 4\na = 1.5: c = 2.5\nprint a; b; c; d; s; e; g", "",
     "1.5020stre4\n"},
    {"#define replaces whole words, #ifdef and #ifndef choose lines",
     "#define GREETING \"hello\"\n#define DEBUG\nprint GREETING\nGREETINGS = 1\n#ifdef DEBUG\nprint \"debug\"\n#else\nprint \"release\"\n#endif\n#ifndef DEBUG\nprint \"no\"\n#endif\nprint \"GREETING\"",
     "", "hello\ndebug\nGREETING\n"},
    {"let assigns", "let x = 2\nprint x", "", "2\n"},
    // A string operand keeps its value while the other side calls a function that moves it.
    {"a string comparison whose other side resizes the array",
     "dim names(2) as string\nnames(1) = \"a fairly long string that is kept on the heap\"\nfunction grow() as string\n"
     "  redim names(200000)\n  return \"a\"\nend function\nif names(1) = grow() then print \"same\" else print \"differ\"\n"
     "print names(1) < grow(), names(1) > grow()",
     "", "differ\n0 -1\n"},
    {"string built-ins whose later arguments resize the array",
     "dim names(2) as string\nnames(1) = \"a fairly long string that is kept on the heap\"\nfunction grow() as string\n"
     "  redim names(200000)\n  return \"kept\"\nend function\nfunction again() as int\n  redim names(300000)\n  return 2\nend function\n"
     "print instr(names(1), grow()); instr(1, names(1), grow())\nprint left(names(1), again()); \"|\"; right(names(1), again())\n"
     "print mid(names(1), again()); \"|\"; mid(names(1), 3, again())",
     "", "3030\na |ap\n fairly long string that is kept on the heap|fa\n"},
    {"the left side of a comparison is taken before the right side runs",
     "s = \"old\"\nfunction change() as string\n  s = \"new\"\n  return \"new\"\nend function\nprint s = change(); s", "", "0new\n"},
    // Errors found before running: file(line): message, nothing runs.
    {"unknown name", "print 1\nprint y", "", "t.zobas(2): unknown name y\n"},
    {"missing end if", "print 1\nif 1 then\nprint 2\n", "", "t.zobas(2): if without end if\n"},
    {"stray next and wend", "next\nwend", "", "t.zobas(1): next without for\nt.zobas(2): wend without while\n"},
    {"a statement it cannot read", "print 1 +\nx = = 2", "", "t.zobas(1): expected a value\nt.zobas(2): unexpected =\n"},
    {"unterminated string", "print \"abc", "", "t.zobas(1): unterminated string\n"},
    {"type mismatches", "dim n as int\nn = \"x\"", "", "t.zobas(2): type mismatch: cannot give a string to n (int)\n"},
    {"string and number cannot be added", "print \"a\" + 1", "", "t.zobas(1): type mismatch: + needs numbers, not a string\n"},
    {"wrong number of arguments", "sub s(a as int)\nend sub\ns 1, 2", "", "t.zobas(3): s takes 1 argument, not 2\n"},
    {"built-in with wrong arguments", "print left(\"a\")", "", "t.zobas(1): left takes 2 arguments, not 1\n"},
    {"declared twice", "dim a as int\ndim a as string", "", "t.zobas(2): a is already declared (t.zobas(1))\n"},
    {"assigning a constant", "const c = 1\nc = 2", "", "t.zobas(2): cannot change the constant c\n"},
    {"exit outside its loop", "exit for", "", "t.zobas(1): exit for outside a for loop\n"},
    {"unknown label", "goto nowhere", "", "t.zobas(1): unknown label nowhere\n"},
    {"jump into a block", "goto inside\nif 1 then\ninside:\nend if", "", "t.zobas(1): cannot jump into a block to label inside\n"},
    {"unknown type", "dim p as nosuch", "", "t.zobas(1): unknown type nosuch\n"},
    {"unknown field", "type t\n  a as int\nend type\ndim v as t\nprint v.b", "", "t.zobas(5): type t has no field b\n"},
    {"unknown directive", "#pragma once", "", "t.zobas(1): unknown directive #pragma\n"},
    {"#ifdef without #endif", "#ifdef X\nprint 1", "", "t.zobas(1): #ifdef without #endif\n"},
    {"sub without end sub", "sub s()\nprint 1\n", "", "t.zobas(1): sub without end sub\n"},
    {"unexpected character", "print 1 $ 2", "", "t.zobas(1): unexpected character\n"},
    {"a /* that is never closed", "print 1\n/* open\nprint 2", "", "t.zobas(2): /* without */: the comment is never closed\n"},
    {"next of another counter", "for i = 1 to 2\nnext j", "", "t.zobas(1): next j does not match for i\n"},
    // Errors while running: output so far, then file(line): message.
    {"division by zero", "print 1\nx = 0\nprint 1 / x", "", "1\nt.zobas(3): division by zero\n"},
    {"integer division by zero", "x = 0\nprint 5 mod x", "", "t.zobas(2): division by zero\n"},
    {"array index out of range", "dim v(3) as int\nv(4) = 1", "", "t.zobas(2): index 4 is out of range for array v (1 to 3)\n"},
    {"array index 0", "dim v(3) as int\nprint v(0)", "", "t.zobas(2): index 0 is out of range for array v (1 to 3)\n"},
    {"negative array size", "n = -1\ndim v(n) as int", "", "t.zobas(2): array v cannot have -1 elements\n"},
    {"square root of a negative number", "x = -1\nprint sqr(x)", "", "t.zobas(2): square root of a negative number\n"},
    {"chr out of range", "print chr(300)", "", "t.zobas(1): chr needs a code from 0 to 255, not 300\n"},
    {"return without gosub", "return", "", "t.zobas(1): return without gosub\n"},
    {"a gosub that never returns", "again:\ngosub again", "", "t.zobas(2): too many nested gosubs (100000): does every gosub return?\n"},
    {"20,000 nested gosubs that all return",
     "dim n as int\ngosub down\nprint n\nend\ndown:\nn = n + 1\nif n < 20000 then gosub down\nreturn", "", "20000\n"},
    {"two-dimensional index out of range", "dim m(2, 2) as int\nm(1, 3) = 1", "", "t.zobas(2): index (1, 3) is out of range for array m (1 to 2, 1 to 2)\n"},
    {"for step of 0", "for i = 1 to 2 step 0\nnext", "", "t.zobas(1): the step of a for loop cannot be 0\n"},
    {"an integer counter's fractional step rounds to 0", "for i = 1 to 2 step 0.25\nnext", "", "t.zobas(1): the step of a for loop cannot be 0\n"},
    {"input at the end of the input ends the program", "input \"n? \", n\nprint n", "", "n? t.zobas(1): input found the end of the input\n"},
    {"a file that cannot be written", "putfile \"/nonexistent-folder/x.txt\", \"text\"", "",
     "t.zobas(1): cannot write the file /nonexistent-folder/x.txt\n"},
    {"getfile of a missing file is empty", "print \"[\" & getfile(\"/nonexistent-folder/x.txt\") & \"]\"", "", "[]\n"},
};

TEST(ZorBasicPrograms, EveryConstructAndErrorGivesItsConsoleText) {
  for (const ProgramCase& c : Programs) {
    int code = -1;
    std::string out = RunProgram(c.source, c.input, &code);
    EXPECT_EQ(out, c.expected) << c.what;
    bool isError = std::string(c.expected).find("t.zobas(") != std::string::npos;
    EXPECT_EQ(code, isError ? 1 : 0) << c.what;
  }
}

// An array of records is made at once, whatever its size; its elements take memory as they are
// written. (A 32-bit program refuses this many records: the end-to-end tests show its error.)
TEST(ZorBasicPrograms, AHugeArrayOfRecordsIsReadyAtOnce) {
  if (sizeof(void*) < 8) GTEST_SKIP() << "a 64-bit program's case";
  EXPECT_EQ(RunProgram("type point\n  x as int\n  y as int\nend type\ndim r(40000000) as point\nr(40000000).y = 5\n"
                       "redim r(50000000)\nprint r(40000000).y + r(1).x + r(50000000).y"),
            "5\n");
}

TEST(ZorBasicPrograms, IncludesAreRelativeToTheIncludingFileAndReadOnce) {
  std::map<std::string, std::string> files = {
      {"lib/a.inc", "#include \"b.inc\"\nsub hello()\n  print \"a\"\nend sub\n"},
      {"lib/b.inc", "#include \"a.inc\"\nconst fromB = 2\n"},
  };
  EXPECT_EQ(RunProgram("#include \"lib/a.inc\"\n#include \"lib/a.inc\"\nhello\nprint fromB", "", nullptr, files), "a\n2\n");
  // Errors name the included file and its own line.
  files["lib/bad.inc"] = "\n\nprint nosuch\n";
  EXPECT_EQ(RunProgram("#include \"lib/bad.inc\"", "", nullptr, files), "lib/bad.inc(3): unknown name nosuch\n");
  EXPECT_EQ(RunProgram("#include \"missing.inc\"", "", nullptr, files), "t.zobas(1): cannot include \"missing.inc\": no such file\n");
}

std::string Repeat(const std::string& s, int n) {
  std::string r;
  for (int k = 0; k < n; ++k) r += s;
  return r;
}

// The check the IDE makes as the user types: the first error as the compile tool prints it,
// and the line of the checked file it belongs to.
TEST(ZorBasicPrograms, CheckingFindsTheFirstErrorAndTheLineOfTheFileItBelongsTo) {
  const std::map<std::string, std::string> files = {
      {"lib/ok.inc", "sub hello()\n  print \"a\"\nend sub\n"},
      {"lib/bad.inc", "\n#include \"worse.inc\"\n"},
      {"lib/worse.inc", "\n\nprint nosuch\n"},
  };
  auto reader = [&](const std::string& path, std::string& text, std::string& why) {
    auto it = files.find(path);
    if (it == files.end()) return why = "no such file", false;
    text = it->second;
    return true;
  };
  const struct {
    const char* what;
    const char* source;
    int line;
    const char* message;
  } cases[] = {
      {"a clean program with an include", "#include \"lib/ok.inc\"\r\nhello\r\n", 0, ""},
      {"an unknown name", "x = 1\r\n\r\nprint y\r\nprint z", 3, "t.zobas(3): unknown name y"},
      {"the first of two syntax errors", "print 1\nfor\nnext next\n", 2, nullptr},
      {"an error two includes deep", "print 1\n#include \"lib/bad.inc\"\nprint 2", 2, "lib/worse.inc(3): unknown name nosuch"},
      {"a missing include", "\n#include \"gone.inc\"", 2, "t.zobas(2): cannot include \"gone.inc\": no such file"},
      {"an unclosed comment", "print 1\n/* open\nprint 2", 2, "t.zobas(2): /* without */: the comment is never closed"},
      {"a missing end if", "if 1 then\nprint 1\n", 1, nullptr},
      {"5,000 nested blocks", nullptr, 1001, nullptr},
  };
  for (const auto& c : cases) {
    const std::string source = c.source ? c.source : Repeat("if 1 then\n", 5000);
    zb::FirstError error;
    zbnative::RunOnToolStack([&](uintptr_t floor) {
      error = zb::CheckProgram("t.zobas", source, reader, floor);
      return 0;
    });
    EXPECT_EQ(error.line, c.line) << c.what;
    if (c.message) {
      EXPECT_EQ(error.message, c.message) << c.what;
    }
    // Worded as the compile tool words its first line.
    zb::Program prog;
    std::vector<std::string> errors;
    zb::LoadProgram("t.zobas", source, reader, prog, errors);
    EXPECT_EQ(error.message, errors.empty() ? "" : errors.front()) << c.what;
  }
}


// Blocks nest 1,000 deep, calls 10,000 deep, an expression holds 10,000 operators; one past a
// limit stops the program with its line and a message.
TEST(ZorBasicPrograms, LimitsHoldAndOnePastThemIsAnError) {
  auto blocks = [](int n) { return "x = 1\n" + Repeat("if x then\n", n) + "print \"deep\"\n" + Repeat("end if\n", n); };
  const std::string recursion = "function f(n as int) as int\n" + Repeat("if n >= 0 then\n", 20) +
                                "if n = 0 then return 0\nreturn 1 + f(n - 1)\n" + Repeat("end if\n", 20) + "end function\n";
  const struct {
    const char* what;
    std::string source, expected;
  } cases[] = {
      {"1,000 nested blocks", blocks(1000), "deep\n"},
      {"1,001 nested blocks", blocks(1001), "t.zobas(1002): blocks nested too deeply (more than 1000)\nt.zobas(2004): end if without if\n"},
      {"10,000 nested calls inside 20 ifs", recursion + "print f(10000)", "10000\n"},
      {"endless recursion", "sub down(n as int)\n  down n + 1\nend sub\ndown 1",
       "t.zobas(2): too many nested calls (100000): is the recursion endless?\n"},
      {"10,000 operators", "x = 1" + Repeat(" + 1", 10000) + "\nprint x", "10001\n"},
      {"10,000 operators in nested parentheses", "print " + Repeat("(", 10000) + "1" + Repeat(" + 1)", 10000), "10001\n"},
      {"10,000 signs", "print " + Repeat("-", 10000) + "1", "1\n"},
      {"10,001 operators", "x = 1" + Repeat(" + 1", 10001), "t.zobas(1): expression too long: more than 10000 operators deep\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(RunProgram(c.source), c.expected) << c.what;
}

TEST(ZorBasicPrograms, HostileTextGivesAnErrorNotACrash) {
  struct Hostile {
    const char* what;
    std::string source;
    const char* message;
  };
  std::string manyOnes = "x = 1";
  for (int k = 0; k < 100000; ++k) manyOnes += "+1";
  const Hostile cases[] = {
      {"deep parentheses", "print " + std::string(100000, '(') + "1" + std::string(100000, ')'), "1\n"},
      {"deep unary minus", "x = " + std::string(100000, '-') + "1", "expression too long"},
      {"a very long sum", manyOnes, "expression too long"},
      {"deeply nested blocks", [] {
         std::string s;
         for (int k = 0; k < 5000; ++k) s += "if 1 then\n";
         return s;
       }(),
       "nested too deeply"},
      {"binary bytes", std::string("print 1\n\x01\x02\xff\xfe\0\x7f", 14), "unexpected character"},
      {"an unterminated comment", "print 1 /* never closed\nprint 2", "never closed"},
  };
  for (const Hostile& h : cases) {
    std::string out = RunProgram(h.source);
    if (h.message) {
      EXPECT_NE(out.find(h.message), std::string::npos) << h.what << ": " << out.substr(0, 200);
    }
  }
  // Random bytes: whatever they hold, reading them ends.
  uint32_t seed = 12345;
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int k = 0; k < 400; ++k) {
      seed = seed * 1103515245u + 12345u;
      const char alphabet[] = "if then else end for next while wend do (),:=+-*/\"'`;.#\n\r x1 sub function type as int\x01\xff";
      text += (seed >> 16) % 3 ? alphabet[(seed >> 8) % (sizeof alphabet - 1)] : static_cast<char>(seed >> 24);
    }
    zb::Program prog;
    std::vector<std::string> errors;
    zb::LoadProgram("r.zobas", text, nullptr, prog, errors);
  }
}

TEST(ZorBasicNumbers, FloatsPrintShortestAndReadBack) {
  const std::pair<double, const char*> cases[] = {
      {7, "7"}, {-1024, "-1024"}, {0.5, "0.5"}, {0.1, "0.1"}, {1e20, "1e+20"}, {999999999999999, "999999999999999"},
      {0.00001, "1e-05"}, {0.0001, "0.0001"}, {2.5e-7, "2.5e-07"}, {1.0 / 3, "0.3333333333333333"}, {0.1 + 0.2, "0.30000000000000004"},
      {1.7976931348623157e308, "1.7976931348623157e+308"}, {-0.0, "0"}, {123.456, "123.456"}, {1e15, "1000000000000000"},
      {9007199254740992, "9007199254740992"}, {1e16, "1e+16"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(zb::FormatFloat(value), text);
    EXPECT_EQ(zb::ParseNumber(zb::FormatFloat(value)), value == 0 ? 0 : value) << text;
  }
  EXPECT_EQ(zb::FormatFloat(1.0 / 0.0), "inf");
  EXPECT_EQ(zb::FormatFloat(-1.0 / 0.0), "-inf");
}

TEST(ZorBasicTool, CommandLinesChooseTheirAction) {
  using A = zb::ToolArgs;
  const std::pair<std::vector<std::string>, A::Action> cases[] = {
      {{"prog.zobas"}, A::Run},           {{"-64", "prog.zobas"}, A::Run64}, {{"-32", "prog.zobas"}, A::Run},
      {{"-r", "-32", "prog.zobas"}, A::Exe32}, {{"-r", "-64", "prog.zobas"}, A::Exe64}, {{"-r", "prog.zobas"}, A::Exe32},
      {{"-d", "-32", "prog.zobas"}, A::Library}, {{"-d", "-64", "prog.zobas"}, A::Library}, {{"-x", "prog.zobas"}, A::Bad},
      {{"-r", "-d", "prog.zobas"}, A::Bad}, {{"-32", "-64", "prog.zobas"}, A::Bad}, {{"-r"}, A::Bad},
      {{"a.zobas", "b.zobas"}, A::Bad},   {{"--help"}, A::Help},
  };
  for (const auto& [args, action] : cases) {
    A t = zb::ParseToolArgs(args);
    EXPECT_EQ(t.action, action) << args.back();
    EXPECT_EQ(t.error.empty(), action != A::Bad) << t.error;
  }
  EXPECT_EQ(zb::ParseToolArgs({"-r", "-64", "C:\\my dir\\p.zobas"}).source, "C:\\my dir\\p.zobas");
  EXPECT_EQ(zb::ExeNameFor("C:\\my dir\\p.zobas"), "C:\\my dir\\p.exe");
  EXPECT_EQ(zb::ExeNameFor("C:\\dir.v2\\prog"), "C:\\dir.v2\\prog.exe");
  EXPECT_EQ(zb::ExeNameFor("a.b.bas"), "a.b.exe");
}

TEST(ZorBasicTool, PayloadsRoundTripAndDamageIsNoticed) {
  zb::Unit unit;
  unit.files = {"C:\\a b\\main.zobas", "C:\\a b\\lib.inc"};
  unit.text = "print 1\n\nprint 2\n";
  unit.origins = {{0, 1}, {1, 1}, {0, 3}};
  std::string exe = zb::AttachPayload("MZstub", zb::SerializeUnit(unit));
  int64_t n = zb::PayloadLength(exe.substr(exe.size() - zb::PayloadTrailer));
  ASSERT_GT(n, 0);
  zb::Unit back;
  ASSERT_TRUE(zb::DeserializeUnit(exe.substr(exe.size() - zb::PayloadTrailer - n, n), back));
  EXPECT_EQ(back.files, unit.files);
  EXPECT_EQ(back.text, unit.text);
  EXPECT_EQ(back.origins[1].file, 1);
  EXPECT_EQ(back.origins[2].line, 3);
  EXPECT_EQ(zb::PayloadLength(std::string(16, 'x')), -1);
  std::string payload = zb::SerializeUnit(unit);
  EXPECT_FALSE(zb::DeserializeUnit(payload.substr(0, payload.size() - 3), back));
}

}  // namespace
