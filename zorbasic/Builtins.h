// The built-in functions: names, argument counts and signatures, shared by the checker,
// the interpreter and the compiler library's answers.
#pragma once
#include <string_view>

#include "zorbasic/Ast.h"

namespace zb {

enum class Bi : uint8_t {
  Len, Left, Right, Mid, Ucase, Lcase, Ltrim, Rtrim, Instr, Str, Val, Chr, Asc, Hex, Space,
  Abs, Sgn, Sqr, Sin, Cos, Tan, Atn, Asin, Acos, Exp, Log, Pow, Hypot, Int, Frac, Floor, Ceil,
  Round, Pi, Rnd, Irnd, Getfile, Putfile, Ubound, Lbound,
};

struct BuiltinInfo {
  std::string_view name;
  Bi id;
  int minArgs, maxArgs;
  std::string_view signature;  // as the compiler library shows it
};

// The built-in function of that name (any letter case), or null.
const BuiltinInfo* FindBuiltin(std::string_view name);
const BuiltinInfo& BuiltinOf(Bi id);

}  // namespace zb
