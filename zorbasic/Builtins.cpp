// The table of built-in functions and statements; sqrt and atan are other names of sqr and atn.
// The build writes the list of built-ins beside the help file from these rows
// (help/make_builtins.py reads them), so each row stays on one line.
#include "zorbasic/Builtins.h"

#include "zorbasic/Source.h"

namespace zb {

namespace {

constexpr BuiltinInfo Table[] = {
    {"len", Bi::Len, 1, 1, "len(s as string) as int", "The number of characters in s."},
    {"left", Bi::Left, 2, 2, "left(s as string, n as int) as string", "The first n characters of s."},
    {"right", Bi::Right, 2, 2, "right(s as string, n as int) as string", "The last n characters of s."},
    {"mid", Bi::Mid, 2, 3, "mid(s as string, start as int [, n as int]) as string", "The n characters of s from position start on; without n, all of them from start to the end."},
    {"ucase", Bi::Ucase, 1, 1, "ucase(s as string) as string", "s in capital letters."},
    {"lcase", Bi::Lcase, 1, 1, "lcase(s as string) as string", "s in small letters."},
    {"ltrim", Bi::Ltrim, 1, 1, "ltrim(s as string) as string", "s without the blanks it starts with."},
    {"rtrim", Bi::Rtrim, 1, 1, "rtrim(s as string) as string", "s without the blanks it ends with."},
    {"instr", Bi::Instr, 2, 3, "instr([start as int,] s as string, find as string) as int", "The position of find in s, searched from start (1 without it); 0 when absent."},
    {"str", Bi::Str, 1, 1, "str(x) as string", "The number x as text, in its shortest exact form."},
    {"val", Bi::Val, 1, 1, "val(s as string) as float", "The number s begins with; 0 when it begins with none."},
    {"chr", Bi::Chr, 1, 1, "chr(n as int) as string", "The character of code n."},
    {"asc", Bi::Asc, 1, 1, "asc(s as string) as int", "The code of the first character of s."},
    {"hex", Bi::Hex, 1, 1, "hex(n as int) as string", "n in hexadecimal digits."},
    {"space", Bi::Space, 1, 1, "space(n as int) as string", "A text of n blanks."},
    {"abs", Bi::Abs, 1, 1, "abs(x) as the type of x", "The size of x, without its sign."},
    {"sgn", Bi::Sgn, 1, 1, "sgn(x as float) as int", "-1, 0 or 1: the sign of x."},
    {"sqr", Bi::Sqr, 1, 1, "sqr(x as float) as float", "The square root of x."},
    {"sqrt", Bi::Sqr, 1, 1, "sqrt(x as float) as float", "The square root of x (another name of sqr)."},
    {"sin", Bi::Sin, 1, 1, "sin(x as float) as float", "The sine of x (x in radians)."},
    {"cos", Bi::Cos, 1, 1, "cos(x as float) as float", "The cosine of x (x in radians)."},
    {"tan", Bi::Tan, 1, 1, "tan(x as float) as float", "The tangent of x (x in radians)."},
    {"atn", Bi::Atn, 1, 1, "atn(x as float) as float", "The arc tangent of x, in radians."},
    {"atan", Bi::Atn, 1, 1, "atan(x as float) as float", "The arc tangent of x, in radians (another name of atn)."},
    {"asin", Bi::Asin, 1, 1, "asin(x as float) as float", "The arc sine of x, in radians."},
    {"acos", Bi::Acos, 1, 1, "acos(x as float) as float", "The arc cosine of x, in radians."},
    {"exp", Bi::Exp, 1, 1, "exp(x as float) as float", "e to the power of x."},
    {"log", Bi::Log, 1, 1, "log(x as float) as float", "The natural logarithm of x."},
    {"pow", Bi::Pow, 2, 2, "pow(x as float, y as float) as float", "x to the power of y."},
    {"hypot", Bi::Hypot, 2, 2, "hypot(x as float, y as float) as float", "The length of the hypotenuse: sqr(x * x + y * y)."},
    {"int", Bi::Int, 1, 1, "int(x as float) as float", "x rounded toward minus infinity."},
    {"frac", Bi::Frac, 1, 1, "frac(x as float) as float", "The fraction of x: x - int(x)."},
    {"floor", Bi::Floor, 1, 1, "floor(x as float) as float", "The largest whole number not above x."},
    {"ceil", Bi::Ceil, 1, 1, "ceil(x as float) as float", "The smallest whole number not below x."},
    {"round", Bi::Round, 1, 1, "round(x as float) as float", "x rounded to the nearest whole number, halves to even."},
    {"pi", Bi::Pi, 0, 0, "pi as float", "The ratio of a circle's circumference to its diameter."},
    {"rnd", Bi::Rnd, 0, 0, "rnd as float", "A random number from 0 up to but not including 1."},
    {"irnd", Bi::Irnd, 2, 2, "irnd(lo as int, hi as int) as int", "A random whole number from lo to hi."},
    {"getfile", Bi::Getfile, 1, 1, "getfile(name as string) as string", "The whole text of the file name; an empty text when it is missing."},
    {"putfile", Bi::Putfile, 2, 2, "putfile(name as string, text as string) as bool", "Writes text into the file name; true when it was written."},
    {"ubound", Bi::Ubound, 1, 2, "ubound(array [, dimension as int]) as int", "The last index of the array (of the given dimension)."},
    {"lbound", Bi::Lbound, 1, 2, "lbound(array [, dimension as int]) as int", "The first index of the array (of the given dimension)."},
};

constexpr BuiltinStatement Statements[] = {
    {"print", "print(items)", "Statement: writes its items to the console; a comma puts a blank between them, a semicolon nothing."},
    {"input", "input([prompt,] variable)", "Statement: reads one line from the console into the variable."},
    {"mbox", "mbox(text)", "Statement: shows text in a message box."},
    {"msgbox", "msgbox(text)", "Statement: shows text in a message box (another name of mbox)."},
};

}  // namespace

const BuiltinStatement* FindBuiltinStatement(std::string_view name) {
  for (const BuiltinStatement& s : Statements)
    if (SameWord(s.name, name)) return &s;
  return nullptr;
}

const BuiltinInfo* FindBuiltin(std::string_view name) {
  if (name.size() < 2 || name.size() > 7) return nullptr;
  for (const BuiltinInfo& b : Table)
    if (SameWord(b.name, name)) return &b;
  return nullptr;
}

const BuiltinInfo& BuiltinOf(Bi id) {
  for (const BuiltinInfo& b : Table)
    if (b.id == id) return b;
  return Table[0];
}

}  // namespace zb
