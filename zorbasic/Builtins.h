// The built-in functions: names, argument counts, signatures and descriptions, shared by the
// checker, the interpreter, the compiler library's answers and the editor's list of built-ins.
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
  std::string_view signature;    // as the compiler library shows it
  std::string_view description;  // one line, as the editor's list of built-ins shows it
};

// A statement word that takes arguments, as the editor's list of built-ins shows it; the
// parser knows these words as keywords.
struct BuiltinStatement {
  std::string_view name, signature, description;
};

// The built-in function of that name (any letter case), or null.
const BuiltinInfo* FindBuiltin(std::string_view name);
const BuiltinInfo& BuiltinOf(Bi id);
// The built-in statement of that name (any letter case), or null.
const BuiltinStatement* FindBuiltinStatement(std::string_view name);

}  // namespace zb
