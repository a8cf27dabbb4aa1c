// The checker's parts shared by its files: the symbols of a scope and the Checker class, which
// resolves names, types and slots and records the declarations the compiler library reports.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "zorbasic/Builtins.h"
#include "zorbasic/Front.h"
#include "zorbasic/Interp.h"
#include "zorbasic/Stack.h"

namespace zb::check {

struct Sym {
  enum K { Var, Const, Array } k = Var;
  Type type;
  int slot = -1;
  bool global = false;
  bool byref = false;
  int dims = 0;  // an array's dimensions
  int line = 0;
  ConstValue value;
};

struct CheckError {
  int line;
  std::string message;
};

using Scope = std::unordered_map<std::string, Sym>;

inline const char* KindText(Kind k) {
  switch (k) {
    case Kind::Int: return "an integer";
    case Kind::Float: return "a float";
    case Kind::Bool: return "a bool";
    case Kind::Str: return "a string";
    case Kind::Rec: return "a record";
    default: return "nothing";
  }
}

inline std::string Quote(const std::string& s) {
  std::string r = "\"";
  for (char c : s) r += c == '"' ? std::string("\"\"") : std::string(1, c);
  return r + "\"";
}

class Checker {
 public:
  Checker(Program& prog, std::vector<Problem>& problems) : prog_(prog), problems_(problems) {}

  void Run();
  // The names procedure proc sees (-1: the main program), from a program checked before.
  void DebugScope(int proc);
  // Types a debugger's text read by the parser.
  void DebugText(zb::DebugText what, Expr* place, Expr* value);

 private:
  void Fail(int line, std::string message) {
    if (problems_.size() < 1000) problems_.push_back({line, std::move(message)});
  }
  [[noreturn]] void Error(int line, std::string message) { throw CheckError{line, std::move(message)}; }

  void AddDecl(Decl::What what, const std::string& name, int line, std::string text, std::string scope = "");

  std::string ProcTitle(const Proc& p) { return (p.isFunction ? "function " : "sub ") + p.name; }

  bool ResolveType(Type& t, const std::string& name, int line, int before);
  void RegisterTypes();
  void RegisterProcs();

  // --- scopes
  Sym* Find(const std::string& name);
  Sym& Declare(const std::string& name, int line, Sym::K k, Type type, int dims = 0);

  std::string ScopeTitle() { return current_ >= 0 ? ProcTitle(prog_.procs[current_]) : ""; }

  // --- blocks
  struct BlockFrame {
    Block* block;
    int labelsSeen;
  };
  struct PendingJump {
    Stmt* stmt;
    std::vector<Block*> blocks;
  };

  void CheckBody(Block& body, Proc* proc);
  // A block's statements; opener is the line of the statement the block belongs to (-1 for a body).
  void CheckBlock(Block& b, int opener);
  void CheckStmt(Stmt& s, Block& b, int index);

  void NeedLoop(Stmt& s, SOp loop, const char* message) {
    for (SOp l : loops_)
      if (l == loop) return;
    Error(s.line, message);
  }

  bool IsCallable(const std::string& name) { return procs_.count(Lower(name)) || FindBuiltin(name); }

  void Sizes(DimItem& d);
  [[gnu::noinline]] void Dim(Stmt& s);
  [[gnu::noinline]] void Redim(Stmt& s);
  static bool IsConstantTree(const Expr& e);
  [[gnu::noinline]] void Const(Stmt& s);
  [[gnu::noinline]] void Assign(Stmt& s);
  [[gnu::noinline]] void For(Stmt& s);
  [[gnu::noinline]] void Select(Stmt& s);
  [[gnu::noinline]] void CallSub(Stmt& s);

  // A call's arguments against the procedure's parameters; the arguments are typed already.
  void CheckArgs(const Proc& p, std::vector<ExprPtr>& args, int line);

  // --- expressions
  void Condition(Expr& e) {
    Value(e);
    if (!IsNumeric(e.kind)) Error(e.line, std::string("a condition must be a number or a comparison, not ") + KindText(e.kind));
  }

  void Scalar(Expr& e, const char* what) {
    Value(e);
    if (e.kind == Kind::Rec || e.kind == Kind::Void) Error(e.line, std::string("cannot ") + what + " " + KindText(e.kind));
  }

  void Assignable(Type to, const Expr& value, int line, const std::string& what);

  // A place that can be assigned: a variable, an array element or a field.
  void Place(Expr& e);

  void SetType(Expr& e, Type t) {
    e.type = t;
    e.kind = KindOf(t);
  }

  void Literal(Expr& e, const ConstValue& v);

  // Types an expression: its operands first, then each node itself. The tree is walked with
  // an explicit stack rather than by recursion, since an expression may be 10,000 operators
  // deep and the checker also runs on the IDE's thread, whose stack is small.
  void Value(Expr& root);

  // Gives a node its type, its operands being typed already.
  void TypeNode(Expr& e);
  void UnaryValue(Expr& e);

  // ubound(v) and lbound(v): their first argument names an array.
  static bool NamesArrayFirst(const Expr& e) {
    if (e.args.empty()) return false;
    const BuiltinInfo* b = FindBuiltin(e.s);
    return b && (b->id == Bi::Ubound || b->id == Bi::Lbound);
  }

  void BinaryValue(Expr& e);
  void NameValue(Expr& e);

  // A name with arguments, whose arguments are typed already.
  void CallOrIndex(Expr& e);

  // ubound(v) and lbound(v) name an array, not a value: the argument becomes the array's slot.
  void ArrayArgument(Expr& e);

  void Arg(Expr& e, size_t k, Kind want) {
    Kind got = e.args[k]->kind;
    bool ok = want == Kind::Str ? got == Kind::Str : want == Kind::Void ? (got != Kind::Rec && got != Kind::Void) : IsNumeric(got);
    if (!ok) Error(e.line, "type mismatch: argument " + std::to_string(k + 1) + " of " + e.s + " must be " + (want == Kind::Str ? "a string" : "a number"));
  }

  void BuiltinTypes(Expr& e, Bi id);
  void FieldValue(Expr& e);

  Program& prog_;
  std::vector<Problem>& problems_;
  std::unordered_map<std::string, int> types_, procs_, labels_;
  std::unordered_map<int, Block*> labelBlock_;
  Scope globals_, locals_;
  std::vector<SlotInfo> globalSlots_, localSlots_;
  int current_ = -1;
  Proc* proc_ = nullptr;
  std::vector<SOp> loops_;
  std::vector<PendingJump> pending_;
  std::vector<Block*> open_;
};

}  // namespace zb::check
