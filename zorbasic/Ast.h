// The program tree of Zorvex Basic: expressions, statements, procedures and record types,
// as the parser builds them and the checker completes them with types and storage slots.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zb {

// Declared storage types. The integer family shares one value representation.
enum class Base : uint8_t { Int, Byte, Word, Dword, Float, Bool, Str, Rec, Void };

struct Type {
  Base base = Base::Void;
  int rec = -1;  // index into Program::types when base is Rec
  bool operator==(const Type&) const = default;
};

// How an expression is evaluated: the integer family and bool evaluate as 64-bit integers.
enum class Kind : uint8_t { Int, Float, Bool, Str, Rec, Void };

// The kind of value a type holds (inline: the interpreter asks for it at every store).
inline Kind KindOf(Type t) {
  switch (t.base) {
    case Base::Int: case Base::Byte: case Base::Word: case Base::Dword: return Kind::Int;
    case Base::Float: return Kind::Float;
    case Base::Bool: return Kind::Bool;
    case Base::Str: return Kind::Str;
    case Base::Rec: return Kind::Rec;
    default: return Kind::Void;
  }
}
bool IsNumeric(Kind k);

enum class EOp : uint8_t {
  IntLit, FloatLit, StrLit, BoolLit,
  Name,         // a plain name, resolved by the checker to Var or Const
  CallOrIndex,  // name(args), resolved to Index, Call or Builtin
  Var, Index, Field, Call, Builtin,  // Index: a is the index, b the second one of a two-dimensional array
  Neg, Not,
  Add, Sub, Mul, Div, IntDiv, Mod, Pow, Shl, Shr, Concat,
  Eq, Ne, Lt, Gt, Le, Ge, And, Or, Xor,
  RefArg,  // an argument passed by reference: a is the caller's place
};

struct Expr {
  EOp op = EOp::IntLit;
  Kind kind = Kind::Void;  // set by the checker
  Type type;               // exact type of a place (variable, element, field) or a call result
  uint16_t height = 1;     // depth of the tree below, bounded by the parser (MaxExprHeight)
  bool global = false;     // Var: a slot of the main program rather than the frame
  bool byref = false;      // Var: the slot holds a reference to the caller's place
  bool calls = false;      // the tree calls a procedure, which may change any variable or array (set by the checker)
  int line = 0;            // index of the output line in the unit
  int slot = -1;           // Var: storage slot; Field: field index; Call: procedure; Builtin: id
  int64_t i = 0;
  double f = 0;
  std::string s;  // literal text, or the name as written
  std::unique_ptr<Expr> a, b;
  std::vector<std::unique_ptr<Expr>> args;

  Expr() = default;
  // A tall tree is taken apart without recursion, so freeing it needs no deep stack.
  ~Expr();
};
using ExprPtr = std::unique_ptr<Expr>;

enum class SOp : uint8_t {
  Print, Input, Mbox, Dim, Redim, Const, Assign, Append, If, For, While, Do, Repeat,
  ExitFor, ExitWhile, ExitDo, Break, Continue, ExitProc, Select, CallSub, Goto, Gosub,
  Return, Label, End,
};

struct Stmt;
struct Block {
  std::vector<std::unique_ptr<Stmt>> stmts;
  std::vector<std::pair<int, int>> labels;  // label id, statement index within this block
};

struct DimItem {
  std::string name;
  int line = 0;
  ExprPtr size;   // set for arrays
  ExprPtr size2;  // the second dimension of a two-dimensional array
  bool hasType = false;
  Type type;
  std::string typeName;  // as written, resolved by the checker
  ExprPtr init;
  int slot = -1;
  bool global = false;
};

struct PrintItem {
  ExprPtr value;
  char sep = 0;  // ',' or ';' after the item, or 0
};

struct CaseItem {
  ExprPtr lo, hi;         // hi set for "a to b"
  EOp compare = EOp::Eq;  // without hi: "case is < x" compares with Lt, a plain "case x" with Eq
};
struct CaseArm {
  std::vector<CaseItem> items;  // empty for case else
  Block body;
  int line = 0;
};

struct Stmt {
  SOp op = SOp::End;
  int line = 0;
  ExprPtr a, b, c, d;  // Assign: target, value; For: counter, from, to, step; Input: target, prompt
  std::vector<PrintItem> items;
  std::vector<DimItem> dims;
  std::vector<ExprPtr> args;                 // CallSub arguments; If conditions
  std::vector<Block> blocks;                 // If arms (then, elseif..., else), loop bodies
  std::vector<CaseArm> arms;
  bool hasElse = false;
  std::string name;  // CallSub, Goto, Gosub, Label, Next name
  int target = -1;   // procedure index, label id
  bool intLoop = false;
  bool follows = false;  // starts on the line of the statement before it, or of the one it is nested in
};
using StmtPtr = std::unique_ptr<Stmt>;

struct Param {
  std::string name;
  Type type;
  std::string typeName;
  bool byref = false;
  int line = 0;
};

struct Proc {
  std::string name;
  bool isFunction = false;
  std::vector<Param> params;
  Type ret;
  std::string retName;
  Block body;
  int line = 0;
  int endLine = 0;
  int locals = 0;     // slots of the frame, parameters first
  int labelBase = 0;  // label ids of this procedure
};

struct Field {
  std::string name;
  Type type;
  std::string typeName;
  int line = 0;
};

struct RecType {
  std::string name;
  std::vector<Field> fields;
  int line = 0;
};

}  // namespace zb
