// The table of built-in functions; sqrt and atan are other names of sqr and atn.
#include "zorbasic/Builtins.h"

#include "zorbasic/Source.h"

namespace zb {

namespace {

constexpr BuiltinInfo Table[] = {
    {"len", Bi::Len, 1, 1, "len(s as string) as int"},
    {"left", Bi::Left, 2, 2, "left(s as string, n as int) as string"},
    {"right", Bi::Right, 2, 2, "right(s as string, n as int) as string"},
    {"mid", Bi::Mid, 2, 3, "mid(s as string, start as int [, n as int]) as string"},
    {"ucase", Bi::Ucase, 1, 1, "ucase(s as string) as string"},
    {"lcase", Bi::Lcase, 1, 1, "lcase(s as string) as string"},
    {"ltrim", Bi::Ltrim, 1, 1, "ltrim(s as string) as string"},
    {"rtrim", Bi::Rtrim, 1, 1, "rtrim(s as string) as string"},
    {"instr", Bi::Instr, 2, 3, "instr([start as int,] s as string, find as string) as int"},
    {"str", Bi::Str, 1, 1, "str(x) as string"},
    {"val", Bi::Val, 1, 1, "val(s as string) as float"},
    {"chr", Bi::Chr, 1, 1, "chr(n as int) as string"},
    {"asc", Bi::Asc, 1, 1, "asc(s as string) as int"},
    {"hex", Bi::Hex, 1, 1, "hex(n as int) as string"},
    {"space", Bi::Space, 1, 1, "space(n as int) as string"},
    {"abs", Bi::Abs, 1, 1, "abs(x) as the type of x"},
    {"sgn", Bi::Sgn, 1, 1, "sgn(x as float) as int"},
    {"sqr", Bi::Sqr, 1, 1, "sqr(x as float) as float"},
    {"sqrt", Bi::Sqr, 1, 1, "sqrt(x as float) as float"},
    {"sin", Bi::Sin, 1, 1, "sin(x as float) as float"},
    {"cos", Bi::Cos, 1, 1, "cos(x as float) as float"},
    {"tan", Bi::Tan, 1, 1, "tan(x as float) as float"},
    {"atn", Bi::Atn, 1, 1, "atn(x as float) as float"},
    {"atan", Bi::Atn, 1, 1, "atan(x as float) as float"},
    {"asin", Bi::Asin, 1, 1, "asin(x as float) as float"},
    {"acos", Bi::Acos, 1, 1, "acos(x as float) as float"},
    {"exp", Bi::Exp, 1, 1, "exp(x as float) as float"},
    {"log", Bi::Log, 1, 1, "log(x as float) as float"},
    {"pow", Bi::Pow, 2, 2, "pow(x as float, y as float) as float"},
    {"hypot", Bi::Hypot, 2, 2, "hypot(x as float, y as float) as float"},
    {"int", Bi::Int, 1, 1, "int(x as float) as float"},
    {"frac", Bi::Frac, 1, 1, "frac(x as float) as float"},
    {"floor", Bi::Floor, 1, 1, "floor(x as float) as float"},
    {"ceil", Bi::Ceil, 1, 1, "ceil(x as float) as float"},
    {"round", Bi::Round, 1, 1, "round(x as float) as float"},
    {"pi", Bi::Pi, 0, 0, "pi as float"},
    {"rnd", Bi::Rnd, 0, 0, "rnd as float"},
    {"irnd", Bi::Irnd, 2, 2, "irnd(lo as int, hi as int) as int"},
    {"getfile", Bi::Getfile, 1, 1, "getfile(name as string) as string"},
    {"putfile", Bi::Putfile, 2, 2, "putfile(name as string, text as string) as bool"},
    {"ubound", Bi::Ubound, 1, 2, "ubound(array [, dimension as int]) as int"},
    {"lbound", Bi::Lbound, 1, 2, "lbound(array [, dimension as int]) as int"},
};

}  // namespace

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
