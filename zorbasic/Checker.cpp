// The checker: resolves every name to a slot, a procedure, a constant or a built-in function,
// gives every expression its type, and records the declarations the compiler library reports.
#include <cmath>
#include <unordered_map>

#include "zorbasic/Builtins.h"
#include "zorbasic/Front.h"
#include "zorbasic/Interp.h"
#include "zorbasic/Lexer.h"
#include "zorbasic/NumberText.h"
#include "zorbasic/Stack.h"

namespace zb {

bool IsNumeric(Kind k) { return k == Kind::Int || k == Kind::Float || k == Kind::Bool; }

std::string TypeName(const Program& prog, Type t) {
  switch (t.base) {
    case Base::Int: return "int";
    case Base::Byte: return "byte";
    case Base::Word: return "word";
    case Base::Dword: return "dword";
    case Base::Float: return "float";
    case Base::Bool: return "bool";
    case Base::Str: return "string";
    case Base::Rec: return t.rec >= 0 && t.rec < static_cast<int>(prog.types.size()) ? prog.types[t.rec].name : "?";
    default: return "nothing";
  }
}

std::string Where(const Unit& unit, int line) {
  if (line < 0 || line >= static_cast<int>(unit.origins.size())) return unit.files.empty() ? "" : unit.files[0];
  const Origin& o = unit.origins[line];
  return unit.files[o.file] + "(" + std::to_string(o.line) + ")";
}

namespace {

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

const char* KindText(Kind k) {
  switch (k) {
    case Kind::Int: return "an integer";
    case Kind::Float: return "a float";
    case Kind::Bool: return "a bool";
    case Kind::Str: return "a string";
    case Kind::Rec: return "a record";
    default: return "nothing";
  }
}

std::string Quote(const std::string& s) {
  std::string r = "\"";
  for (char c : s) r += c == '"' ? std::string("\"\"") : std::string(1, c);
  return r + "\"";
}

class Checker {
 public:
  Checker(Program& prog, std::vector<Problem>& problems) : prog_(prog), problems_(problems) {}

  void Run() {
    RegisterTypes();
    RegisterProcs();
    labels_.clear();
    CheckBody(prog_.main, nullptr);
    for (size_t k = 0; k < prog_.procs.size(); ++k) {
      locals_.clear();
      localSlots_.clear();
      labels_.clear();
      current_ = static_cast<int>(k);
      Proc& proc = prog_.procs[k];
      for (Param& p : proc.params) {
        Sym s;
        s.type = p.type;
        s.slot = static_cast<int>(localSlots_.size());
        s.byref = p.byref;
        s.line = p.line;
        localSlots_.push_back({p.type, false});
        if (locals_.count(Lower(p.name))) Fail(p.line, "parameter " + p.name + " is given twice");
        locals_[Lower(p.name)] = s;
        AddDecl(Decl::Parameter, p.name, p.line, (p.byref ? "byref " : "") + p.name + " as " + TypeName(prog_, p.type),
                ProcTitle(proc));
      }
      CheckBody(proc.body, &proc);
      proc.locals = static_cast<int>(localSlots_.size());
      prog_.procSlots[k] = localSlots_;
    }
    prog_.globals = globalSlots_;
  }

 private:
  void Fail(int line, std::string message) {
    if (problems_.size() < 1000) problems_.push_back({line, std::move(message)});
  }
  [[noreturn]] void Error(int line, std::string message) { throw CheckError{line, std::move(message)}; }

  void AddDecl(Decl::What what, const std::string& name, int line, std::string text, std::string scope = "") {
    Decl d;
    d.what = what;
    d.name = name;
    d.line = line;
    d.text = std::move(text);
    d.scope = std::move(scope);
    prog_.decls.push_back(std::move(d));
  }

  std::string ProcTitle(const Proc& p) { return (p.isFunction ? "function " : "sub ") + p.name; }

  bool ResolveType(Type& t, const std::string& name, int line, int before) {
    if (t.base != Base::Rec) return true;
    auto it = types_.find(Lower(name));
    if (it == types_.end() || it->second >= before) {
      Fail(line, it == types_.end() ? "unknown type " + name : "type " + name + " must be defined before it is used here");
      t = {Base::Float, -1};
      return false;
    }
    t.rec = it->second;
    return true;
  }

  void RegisterTypes() {
    for (size_t k = 0; k < prog_.types.size(); ++k) {
      RecType& r = prog_.types[k];
      std::string key = Lower(r.name);
      if (types_.count(key) || FindBuiltin(key)) Fail(r.line, "type " + r.name + " is already declared");
      else types_[key] = static_cast<int>(k);
    }
    for (size_t k = 0; k < prog_.types.size(); ++k) {
      RecType& r = prog_.types[k];
      std::unordered_map<std::string, int> seen;
      Decl d;
      d.what = Decl::RecordType;
      d.name = r.name;
      d.line = r.line;
      d.text = "type " + r.name;
      for (Field& f : r.fields) {
        ResolveType(f.type, f.typeName, f.line, static_cast<int>(k));
        if (seen.count(Lower(f.name))) Fail(f.line, "field " + f.name + " is given twice");
        seen[Lower(f.name)] = 1;
        d.more.push_back(f.name + " as " + TypeName(prog_, f.type));
        AddDecl(Decl::FieldOf, f.name, f.line, f.name + " as " + TypeName(prog_, f.type), "type " + r.name);
      }
      prog_.decls.push_back(std::move(d));
    }
  }

  void RegisterProcs() {
    prog_.procSlots.resize(prog_.procs.size());
    int all = static_cast<int>(prog_.types.size());
    for (size_t k = 0; k < prog_.procs.size(); ++k) {
      Proc& p = prog_.procs[k];
      std::string key = Lower(p.name);
      if (procs_.count(key)) Fail(p.line, (p.isFunction ? "function " : "sub ") + p.name + " is already declared");
      else if (FindBuiltin(key)) Fail(p.line, p.name + " is a built-in function");
      else if (types_.count(key)) Fail(p.line, p.name + " is the name of a type");
      else procs_[key] = static_cast<int>(k);
      std::string sig = ProcTitle(p) + "(";
      for (size_t j = 0; j < p.params.size(); ++j) {
        Param& a = p.params[j];
        ResolveType(a.type, a.typeName, a.line, all);
        sig += (j ? ", " : "") + std::string(a.byref ? "byref " : "") + a.name + " as " + TypeName(prog_, a.type);
      }
      sig += ")";
      if (p.isFunction) {
        ResolveType(p.ret, p.retName, p.line, all);
        sig += " as " + TypeName(prog_, p.ret);
      }
      AddDecl(p.isFunction ? Decl::Function : Decl::Sub, p.name, p.line, sig);
    }
  }

  // --- scopes
  Sym* Find(const std::string& name) {
    std::string key = Lower(name);
    if (current_ >= 0) {
      auto it = locals_.find(key);
      if (it != locals_.end()) return &it->second;
    }
    auto it = globals_.find(key);
    return it == globals_.end() ? nullptr : &it->second;
  }

  Sym& Declare(const std::string& name, int line, Sym::K k, Type type, int dims = 0) {
    std::string key = Lower(name);
    Scope& scope = current_ >= 0 ? locals_ : globals_;
    auto it = scope.find(key);
    if (it != scope.end()) {
      Error(line, name + " is already declared (" + Where(prog_.unit, it->second.line) + ")");
    }
    if (procs_.count(key)) Error(line, name + " is the name of a " + std::string(prog_.procs[procs_[key]].isFunction ? "function" : "sub"));
    if (FindBuiltin(key)) Error(line, name + " is a built-in function");
    if (types_.count(key)) Error(line, name + " is the name of a type");
    Sym s;
    s.k = k;
    s.type = type;
    s.line = line;
    s.global = current_ < 0;
    s.dims = dims;
    if (k != Sym::Const) {
      std::vector<SlotInfo>& slots = current_ >= 0 ? localSlots_ : globalSlots_;
      s.slot = static_cast<int>(slots.size());
      slots.push_back({type, k == Sym::Array, dims});
    }
    return scope[key] = s;
  }

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

  void CheckBody(Block& body, Proc* proc) {
    proc_ = proc;
    loops_.clear();
    pending_.clear();
    open_.clear();
    labelBlock_.clear();
    CheckBlock(body);
    for (PendingJump& j : pending_) {
      auto it = labels_.find(Lower(j.stmt->name));
      if (it == labels_.end()) {
        Fail(j.stmt->line, "unknown label " + j.stmt->name);
        continue;
      }
      j.stmt->target = it->second;
      Block* home = labelBlock_[it->second];
      bool reachable = false;
      for (Block* b : j.blocks) reachable = reachable || b == home;
      if (!reachable) Fail(j.stmt->line, "cannot jump into a block to label " + j.stmt->name);
    }
  }

  void CheckBlock(Block& b) {
    if (StackFull(prog_.stackFloor)) Error(b.stmts.empty() ? 0 : b.stmts[0]->line, "blocks nested too deeply for the stack");
    open_.push_back(&b);
    for (size_t k = 0; k < b.stmts.size(); ++k) {
      try {
        CheckStmt(*b.stmts[k], b, static_cast<int>(k));
      } catch (const CheckError& e) {
        Fail(e.line, e.message);
      }
    }
    open_.pop_back();
  }

  void CheckStmt(Stmt& s, Block& b, int index) {
    switch (s.op) {
      case SOp::Print:
        for (PrintItem& item : s.items)
          if (item.value) Scalar(*item.value, "print");
        break;
      case SOp::Input: {
        if (s.b) Scalar(*s.b, "show as a prompt");
        if (s.a->op == EOp::Name && !Find(s.a->s) && !IsCallable(s.a->s)) {
          Declare(s.a->s, s.line, Sym::Var, {Base::Str, -1});
          AddDecl(Decl::Variable, s.a->s, s.line, "variable " + s.a->s + " as string (declared by input)", ScopeTitle());
        }
        Place(*s.a);
        if (s.a->kind == Kind::Rec) Error(s.line, "input cannot read a record");
        break;
      }
      case SOp::Mbox: Scalar(*s.a, "show"); break;
      case SOp::Dim: Dim(s); break;
      case SOp::Redim: Redim(s); break;
      case SOp::Const: Const(s); break;
      case SOp::Assign: Assign(s); break;
      case SOp::If:
        for (auto& c : s.args) Condition(*c);
        for (Block& arm : s.blocks) CheckBlock(arm);
        break;
      case SOp::For: For(s); break;
      case SOp::While:
      case SOp::Repeat:
      case SOp::Do:
        if (s.a) Condition(*s.a);
        loops_.push_back(s.op);
        CheckBlock(s.blocks[0]);
        loops_.pop_back();
        break;
      case SOp::ExitFor: NeedLoop(s, SOp::For, "exit for outside a for loop"); break;
      case SOp::ExitWhile: NeedLoop(s, SOp::While, "exit while outside a while loop"); break;
      case SOp::ExitDo: NeedLoop(s, SOp::Do, "exit do outside a do loop"); break;
      case SOp::Break:
      case SOp::Continue:
        if (loops_.empty()) Error(s.line, std::string(s.op == SOp::Break ? "break" : "continue") + " outside a loop");
        break;
      case SOp::ExitProc:
        if (!proc_) Error(s.line, "exit " + s.name + " outside a " + s.name);
        if ((s.name == "function") != proc_->isFunction) Error(s.line, "exit " + s.name + " inside a " + (proc_->isFunction ? "function" : "sub"));
        break;
      case SOp::Select: Select(s); break;
      case SOp::CallSub: CallSub(s); break;
      case SOp::Goto:
      case SOp::Gosub: pending_.push_back({&s, open_}); break;
      case SOp::Return:
        if (s.a) {
          if (!proc_ || !proc_->isFunction) Error(s.line, "return with a value outside a function");
          Value(*s.a);
          Assignable(proc_->ret, *s.a, s.line, "the result of " + proc_->name);
        }
        break;
      case SOp::Label: {
        std::string key = Lower(s.name);
        if (labels_.count(key)) Error(s.line, "label " + s.name + " is given twice");
        int id = static_cast<int>(prog_.labels.size());
        prog_.labels.push_back(s.name);
        labels_[key] = id;
        labelBlock_[id] = &b;
        b.labels.push_back({id, index});
        s.target = id;
        AddDecl(Decl::Label, s.name, s.line, "label " + s.name, ScopeTitle());
        break;
      }
      case SOp::End:
      case SOp::Append: break;
    }
  }

  void NeedLoop(Stmt& s, SOp loop, const char* message) {
    for (SOp l : loops_)
      if (l == loop) return;
    Error(s.line, message);
  }

  bool IsCallable(const std::string& name) { return procs_.count(Lower(name)) || FindBuiltin(name); }

  void Sizes(DimItem& d) {
    for (Expr* e : {d.size.get(), d.size2.get()}) {
      if (!e) continue;
      Value(*e);
      if (!IsNumeric(e->kind)) Error(d.line, "the size of array " + d.name + " must be a number");
    }
  }

  [[gnu::noinline]] void Dim(Stmt& s) {
    for (DimItem& d : s.dims) {
      Sizes(d);
      if (d.init) Value(*d.init);
      if (!d.hasType) {
        d.type = d.init && d.init->kind == Kind::Str ? Type{Base::Str, -1} : Type{Base::Float, -1};
        d.typeName = TypeName(prog_, d.type);
      }
      ResolveType(d.type, d.typeName, d.line, static_cast<int>(prog_.types.size()));
      if (d.init) Assignable(d.type, *d.init, d.line, d.name);
      Sym& sym = Declare(d.name, d.line, d.size ? Sym::Array : Sym::Var, d.type, d.size2 ? 2 : d.size ? 1 : 0);
      d.slot = sym.slot;
      d.global = sym.global;
      std::string text = d.name + (d.size ? "()" : "") + " as " + TypeName(prog_, d.type);
      AddDecl(d.size ? Decl::Array : Decl::Variable, d.name, d.line, (d.size ? "array " : "variable ") + text, ScopeTitle());
    }
  }

  [[gnu::noinline]] void Redim(Stmt& s) {
    for (DimItem& d : s.dims) {
      Sizes(d);
      int dims = d.size2 ? 2 : 1;
      Sym* sym = Find(d.name);
      if (!sym) {
        if (!d.hasType) Error(d.line, "redim of " + d.name + ", which is not declared");
        ResolveType(d.type, d.typeName, d.line, static_cast<int>(prog_.types.size()));
        sym = &Declare(d.name, d.line, Sym::Array, d.type, dims);
        AddDecl(Decl::Array, d.name, d.line, "array " + d.name + "() as " + TypeName(prog_, d.type), ScopeTitle());
      } else if (sym->k != Sym::Array) {
        Error(d.line, "redim of " + d.name + ", which is not an array");
      } else if (sym->dims != dims) {
        Error(d.line, "redim cannot change the dimensions of " + d.name + " (" + std::to_string(sym->dims) + ")");
      } else if (d.hasType) {
        ResolveType(d.type, d.typeName, d.line, static_cast<int>(prog_.types.size()));
        if (!(d.type == sym->type)) Error(d.line, "redim cannot change the type of " + d.name);
      }
      d.type = sym->type;
      d.slot = sym->slot;
      d.global = sym->global;
      d.hasType = true;
    }
  }

  static bool IsConstantTree(const Expr& e) {
    switch (e.op) {
      case EOp::IntLit: case EOp::FloatLit: case EOp::StrLit: case EOp::BoolLit: return true;
      case EOp::Builtin:
        if (static_cast<Bi>(e.slot) == Bi::Rnd || static_cast<Bi>(e.slot) == Bi::Irnd ||
            static_cast<Bi>(e.slot) == Bi::Getfile || static_cast<Bi>(e.slot) == Bi::Putfile)
          return false;
        for (auto& a : e.args)
          if (!IsConstantTree(*a)) return false;
        return true;
      case EOp::Var: case EOp::Index: case EOp::Field: case EOp::Call: case EOp::RefArg: return false;
      default: return (!e.a || IsConstantTree(*e.a)) && (!e.b || IsConstantTree(*e.b));
    }
  }

  [[gnu::noinline]] void Const(Stmt& s) {
    for (DimItem& d : s.dims) {
      Value(*d.init);
      if (!IsConstantTree(*d.init)) Error(d.line, "the value of constant " + d.name + " must be known before the program runs");
      ConstValue v;
      std::string why;
      if (!EvalConstant(prog_, *d.init, v, why)) Error(d.line, why);
      Type t = d.hasType ? d.type : Type{};
      if (d.hasType) {
        ResolveType(t, d.typeName, d.line, 0);
        Assignable(t, *d.init, d.line, d.name);
        Kind k = KindOf(t);
        if (k == Kind::Bool) {
          v.i = (v.kind == Kind::Float ? v.f != 0 : v.i != 0) ? -1 : 0;
        } else if (k == Kind::Int) {
          std::string why;
          bool fits = v.kind == Kind::Float ? StoredInteger(v.f, t.base, v.i, why) : StoredInteger(v.i, t.base, v.i, why);
          if (!fits) Error(d.line, "constant " + d.name + ": " + why);
        } else if (k == Kind::Float && v.kind != Kind::Float) {
          v.f = static_cast<double>(v.i);
        }
        v.kind = k;
      } else {
        t = v.kind == Kind::Str ? Type{Base::Str, -1} : v.kind == Kind::Float ? Type{Base::Float, -1}
            : v.kind == Kind::Bool ? Type{Base::Bool, -1} : Type{Base::Int, -1};
      }
      Sym& sym = Declare(d.name, d.line, Sym::Const, t);
      sym.value = v;
      std::string text = v.kind == Kind::Str ? Quote(v.s) : v.kind == Kind::Float ? FormatFloat(v.f)
                       : v.kind == Kind::Bool ? FormatBool(v.i) : FormatInt(v.i);
      AddDecl(Decl::Constant, d.name, d.line, "const " + d.name + " = " + text, ScopeTitle());
    }
  }

  [[gnu::noinline]] void Assign(Stmt& s) {
    bool fresh = s.a->op == EOp::Name && !Find(s.a->s) && !IsCallable(s.a->s);
    try {
      Value(*s.b);
    } catch (const CheckError&) {
      // The name is declared all the same, so one wrong value does not make every later
      // use of it an error too.
      if (fresh) {
        Declare(s.a->s, s.line, Sym::Var, {Base::Float, -1});
        AddDecl(Decl::Variable, s.a->s, s.line, "variable " + s.a->s + " as float (declared by its first assignment)", ScopeTitle());
      }
      throw;
    }
    if (fresh) {
      if (s.b->kind == Kind::Rec) Error(s.line, "declare " + s.a->s + " with dim before giving it a record");
      Type t = s.b->kind == Kind::Str ? Type{Base::Str, -1} : Type{Base::Float, -1};
      Declare(s.a->s, s.line, Sym::Var, t);
      AddDecl(Decl::Variable, s.a->s, s.line, "variable " + s.a->s + " as " + TypeName(prog_, t) + " (declared by its first assignment)",
              ScopeTitle());
    }
    Place(*s.a);
    Assignable(s.a->type, *s.b, s.line, s.a->s);
    // s = s & x appends in place rather than copying the whole string each time.
    Expr& v = *s.b;
    if (s.a->op == EOp::Var && s.a->kind == Kind::Str && (v.op == EOp::Concat || v.op == EOp::Add) &&
        v.a->op == EOp::Var && v.a->slot == s.a->slot && v.a->global == s.a->global) {
      s.op = SOp::Append;
      s.b = std::move(v.b);
    }
  }

  [[gnu::noinline]] void For(Stmt& s) {
    Expr& c = *s.a;
    Sym* sym = Find(c.s);
    if (!sym && !IsCallable(c.s)) {
      Declare(c.s, s.line, Sym::Var, {Base::Int, -1});
      AddDecl(Decl::Variable, c.s, s.line, "variable " + c.s + " as int (declared by its for loop)", ScopeTitle());
    }
    Place(c);
    if (c.op != EOp::Var || !IsNumeric(c.kind)) Error(s.line, "the counter of a for loop must be a numeric variable");
    Value(*s.b);
    Value(*s.c);
    if (s.d) Value(*s.d);
    for (Expr* e : {s.b.get(), s.c.get(), s.d.get()})
      if (e && !IsNumeric(e->kind)) Error(s.line, "the bounds and step of a for loop must be numbers");
    if (!s.name.empty() && !SameWord(s.name, c.s)) Error(s.line, "next " + s.name + " does not match for " + c.s);
    auto isInt = [](Expr* e) { return !e || e->kind == Kind::Int || e->kind == Kind::Bool; };
    s.intLoop = c.kind == Kind::Int && isInt(s.b.get()) && isInt(s.c.get()) && isInt(s.d.get());
    loops_.push_back(SOp::For);
    CheckBlock(s.blocks[0]);
    loops_.pop_back();
  }

  [[gnu::noinline]] void Select(Stmt& s) {
    Scalar(*s.a, "select on");
    bool str = s.a->kind == Kind::Str;
    for (CaseArm& arm : s.arms) {
      for (CaseItem& item : arm.items) {
        for (Expr* e : {item.lo.get(), item.hi.get()}) {
          if (!e) continue;
          Value(*e);
          if ((e->kind == Kind::Str) != str || e->kind == Kind::Rec) Error(arm.line, "case value does not match the type of the select value");
        }
      }
      CheckBlock(arm.body);
    }
  }

  [[gnu::noinline]] void CallSub(Stmt& s) {
    auto it = procs_.find(Lower(s.name));
    if (it != procs_.end()) {
      s.target = it->second;
      for (auto& a : s.args) Value(*a);
      CheckArgs(prog_.procs[it->second], s.args, s.line);
      return;
    }
    if (const BuiltinInfo* b = FindBuiltin(s.name)) {
      // A built-in function used as a statement, such as putfile: its result is dropped.
      auto call = std::make_unique<Expr>();
      call->op = EOp::CallOrIndex;
      call->s = s.name;
      call->line = s.line;
      call->args = std::move(s.args);
      Value(*call);
      (void)b;
      s.a = std::move(call);
      s.target = -1;
      return;
    }
    if (Find(s.name)) Error(s.line, s.name + " is not a sub; did you mean " + s.name + " = ...?");
    Error(s.line, "unknown sub " + s.name);
  }

  // A call's arguments against the procedure's parameters; the arguments are typed already.
  void CheckArgs(const Proc& p, std::vector<ExprPtr>& args, int line) {
    if (args.size() != p.params.size()) {
      Error(line, p.name + " takes " + std::to_string(p.params.size()) + " argument" + (p.params.size() == 1 ? "" : "s") +
                      ", not " + std::to_string(args.size()));
    }
    for (size_t k = 0; k < args.size(); ++k) {
      const Param& par = p.params[k];
      Assignable(par.type, *args[k], line, "parameter " + par.name + " of " + p.name);
      EOp op = args[k]->op;
      bool place = op == EOp::Var || op == EOp::Index || op == EOp::Field;
      // A byref parameter works on the caller's variable, which must have its very type; any
      // other argument (a literal, an expression) is passed as a copy.
      if (par.byref && place && !(args[k]->type == par.type)) {
        Error(line, "byref parameter " + par.name + " of " + p.name + " is " + TypeName(prog_, par.type) + ", but " +
                        (args[k]->s.empty() ? std::string("the variable") : args[k]->s) + " is " + TypeName(prog_, args[k]->type));
      }
      if (par.byref && place) {
        auto ref = std::make_unique<Expr>();
        ref->op = EOp::RefArg;
        ref->kind = args[k]->kind;
        ref->type = args[k]->type;
        ref->line = args[k]->line;
        ref->a = std::move(args[k]);
        args[k] = std::move(ref);
      }
    }
  }

  // --- expressions
  void Condition(Expr& e) {
    Value(e);
    if (!IsNumeric(e.kind)) Error(e.line, std::string("a condition must be a number or a comparison, not ") + KindText(e.kind));
  }

  void Scalar(Expr& e, const char* what) {
    Value(e);
    if (e.kind == Kind::Rec || e.kind == Kind::Void) Error(e.line, std::string("cannot ") + what + " " + KindText(e.kind));
  }

  void Assignable(Type to, const Expr& value, int line, const std::string& what) {
    Kind k = KindOf(to);
    Kind v = value.kind;
    bool ok = (IsNumeric(k) && IsNumeric(v)) || (k == Kind::Str && v == Kind::Str) ||
              (k == Kind::Rec && v == Kind::Rec && value.type.rec == to.rec);
    if (!ok) Error(line, std::string("type mismatch: cannot give ") + KindText(v) + " to " + what + " (" + TypeName(prog_, to) + ")");
  }

  // A place that can be assigned: a variable, an array element or a field.
  void Place(Expr& e) {
    if (e.op == EOp::Name) {
      Sym* s = Find(e.s);
      if (s && s->k == Sym::Const) Error(e.line, "cannot change the constant " + e.s);
    }
    Value(e);
    if (e.op != EOp::Var && e.op != EOp::Index && e.op != EOp::Field) Error(e.line, "cannot assign to " + (e.s.empty() ? std::string("this expression") : e.s));
  }

  void SetType(Expr& e, Type t) {
    e.type = t;
    e.kind = KindOf(t);
  }

  void Literal(Expr& e, const ConstValue& v) {
    e.kind = v.kind;
    switch (v.kind) {
      case Kind::Str: e.op = EOp::StrLit; e.s = v.s; e.type = {Base::Str, -1}; break;
      case Kind::Float: e.op = EOp::FloatLit; e.f = v.f; e.type = {Base::Float, -1}; break;
      case Kind::Bool: e.op = EOp::BoolLit; e.i = v.i; e.type = {Base::Bool, -1}; break;
      default: e.op = EOp::IntLit; e.i = v.i; e.type = {Base::Int, -1}; break;
    }
  }

  // Types an expression: its operands first, then each node itself. The tree is walked with
  // an explicit stack rather than by recursion, since an expression may be 10,000 operators
  // deep and the checker also runs on the IDE's thread, whose stack is small.
  void Value(Expr& root) {
    struct Step {
      Expr* e;
      bool operandsDone;
    };
    std::vector<Step> steps{{&root, false}};
    while (!steps.empty()) {
      Step step = steps.back();
      Expr& e = *step.e;
      if (step.operandsDone) {
        steps.pop_back();
        TypeNode(e);
        continue;
      }
      steps.back().operandsDone = true;
      switch (e.op) {
        case EOp::CallOrIndex:
          if (NamesArrayFirst(e)) ArrayArgument(e);
          for (size_t k = e.args.size(); k-- > 0;) steps.push_back({e.args[k].get(), false});
          break;
        case EOp::Field:
        case EOp::Neg:
        case EOp::Not: steps.push_back({e.a.get(), false}); break;
        case EOp::IntLit: case EOp::FloatLit: case EOp::StrLit: case EOp::BoolLit: case EOp::Name:
        case EOp::Var: case EOp::Index: case EOp::Call: case EOp::Builtin: case EOp::RefArg: break;
        default:  // the binary operators
          steps.push_back({e.b.get(), false});
          steps.push_back({e.a.get(), false});
          break;
      }
    }
  }

  // Gives a node its type, its operands being typed already.
  void TypeNode(Expr& e) {
    switch (e.op) {
      case EOp::IntLit: SetType(e, {Base::Int, -1}); return;
      case EOp::FloatLit: SetType(e, {Base::Float, -1}); return;
      case EOp::StrLit: SetType(e, {Base::Str, -1}); return;
      case EOp::BoolLit: SetType(e, {Base::Bool, -1}); return;
      case EOp::Name: return NameValue(e);
      case EOp::CallOrIndex: return CallOrIndex(e);
      case EOp::Field: return FieldValue(e);
      case EOp::Var: case EOp::Index: case EOp::Call: case EOp::Builtin: case EOp::RefArg: return;  // checked already
      case EOp::Neg:
      case EOp::Not: return UnaryValue(e);
      default: return BinaryValue(e);
    }
  }

  void UnaryValue(Expr& e) {
    if (e.op == EOp::Neg) {
      if (!IsNumeric(e.a->kind)) Error(e.line, std::string("cannot negate ") + KindText(e.a->kind));
      return SetType(e, e.a->kind == Kind::Float ? Type{Base::Float, -1} : Type{Base::Int, -1});
    }
    if (!IsNumeric(e.a->kind)) Error(e.line, std::string("not needs a number or a comparison, not ") + KindText(e.a->kind));
    SetType(e, e.a->kind == Kind::Bool ? Type{Base::Bool, -1} : Type{Base::Int, -1});
  }

  // ubound(v) and lbound(v): their first argument names an array.
  static bool NamesArrayFirst(const Expr& e) {
    if (e.args.empty()) return false;
    const BuiltinInfo* b = FindBuiltin(e.s);
    return b && (b->id == Bi::Ubound || b->id == Bi::Lbound);
  }

  void BinaryValue(Expr& e) {
    Kind a = e.a->kind, b = e.b->kind;
    auto numbers = [&](const char* op) {
      if (!IsNumeric(a) || !IsNumeric(b)) {
        Error(e.line, std::string("type mismatch: ") + op + " needs numbers, not " + KindText(IsNumeric(a) ? b : a));
      }
    };
    bool ints = (a == Kind::Int || a == Kind::Bool) && (b == Kind::Int || b == Kind::Bool);
    switch (e.op) {
      case EOp::Add:
        if (a == Kind::Str && b == Kind::Str) {
          e.op = EOp::Concat;
          SetType(e, {Base::Str, -1});
          return;
        }
        numbers("+");
        SetType(e, ints ? Type{Base::Int, -1} : Type{Base::Float, -1});
        return;
      case EOp::Sub: case EOp::Mul:
        numbers(e.op == EOp::Sub ? "-" : "*");
        SetType(e, ints ? Type{Base::Int, -1} : Type{Base::Float, -1});
        return;
      case EOp::Div: numbers("/"); SetType(e, {Base::Float, -1}); return;
      case EOp::Pow: numbers("^"); SetType(e, {Base::Float, -1}); return;
      case EOp::IntDiv: case EOp::Mod: case EOp::Shl: case EOp::Shr:
        numbers(e.op == EOp::IntDiv ? "\\" : e.op == EOp::Mod ? "mod" : e.op == EOp::Shl ? "shl" : "shr");
        SetType(e, {Base::Int, -1});
        return;
      case EOp::And: case EOp::Or: case EOp::Xor:
        numbers(e.op == EOp::And ? "and" : e.op == EOp::Or ? "or" : "xor");
        SetType(e, a == Kind::Bool && b == Kind::Bool ? Type{Base::Bool, -1} : Type{Base::Int, -1});
        return;
      case EOp::Concat:
        if (a == Kind::Rec || b == Kind::Rec) Error(e.line, "cannot join a record");
        SetType(e, {Base::Str, -1});
        return;
      default:  // comparisons
        if (!((IsNumeric(a) && IsNumeric(b)) || (a == Kind::Str && b == Kind::Str))) {
          Error(e.line, std::string("type mismatch: cannot compare ") + KindText(a) + " with " + KindText(b));
        }
        SetType(e, {Base::Bool, -1});
        return;
    }
  }

  void NameValue(Expr& e) {
    if (Sym* s = Find(e.s)) {
      if (s->k == Sym::Const) return Literal(e, s->value);
      if (s->k == Sym::Array) Error(e.line, e.s + " is an array: name an element, as in " + e.s + "(1)");
      e.op = EOp::Var;
      e.slot = s->slot;
      e.global = s->global;
      e.byref = s->byref;
      SetType(e, s->type);
      return;
    }
    if (procs_.count(Lower(e.s)) || FindBuiltin(e.s)) return CallOrIndex(e);
    Error(e.line, "unknown name " + e.s);
  }

  // A name with arguments, whose arguments are typed already.
  void CallOrIndex(Expr& e) {
    Sym* s = Find(e.s);
    if (s && s->k == Sym::Array) {
      if (e.args.size() != static_cast<size_t>(s->dims)) {
        Error(e.line, "array " + e.s + " takes " + (s->dims == 1 ? "one index" : "two indexes") + ", not " + std::to_string(e.args.size()));
      }
      for (auto& a : e.args)
        if (!IsNumeric(a->kind)) Error(e.line, "the index of array " + e.s + " must be a number");
      e.op = EOp::Index;
      e.slot = s->slot;
      e.global = s->global;
      e.a = std::move(e.args[0]);
      if (e.args.size() == 2) e.b = std::move(e.args[1]);
      e.args.clear();
      SetType(e, s->type);
      return;
    }
    if (s) Error(e.line, e.s + " is not an array or a function");
    auto it = procs_.find(Lower(e.s));
    if (it != procs_.end()) {
      const Proc& p = prog_.procs[it->second];
      if (!p.isFunction) Error(e.line, "sub " + p.name + " gives no value; call it as a statement");
      CheckArgs(p, e.args, e.line);
      e.op = EOp::Call;
      e.slot = it->second;
      SetType(e, p.ret);
      return;
    }
    const BuiltinInfo* b = FindBuiltin(e.s);
    if (!b) Error(e.line, "unknown function " + e.s);
    int n = static_cast<int>(e.args.size());
    if (n < b->minArgs || n > b->maxArgs) {
      Error(e.line, std::string(b->name) + " takes " +
                        (b->minArgs == b->maxArgs ? std::to_string(b->minArgs) : std::to_string(b->minArgs) + " or " + std::to_string(b->maxArgs)) +
                        " argument" + (b->maxArgs == 1 ? "" : "s") + ", not " + std::to_string(n));
    }
    e.op = EOp::Builtin;
    e.slot = static_cast<int>(b->id);
    BuiltinTypes(e, b->id);
  }

  // ubound(v) and lbound(v) name an array, not a value: the argument becomes the array's slot.
  void ArrayArgument(Expr& e) {
    Expr& a = *e.args[0];
    Sym* s = a.op == EOp::Name ? Find(a.s) : nullptr;
    if (!s || s->k != Sym::Array) Error(e.line, e.s + " needs the name of an array");
    a.op = EOp::Var;
    a.slot = s->slot;
    a.global = s->global;
    a.i = s->dims;
    a.type = s->type;
    a.kind = Kind::Void;
  }

  void Arg(Expr& e, size_t k, Kind want) {
    Kind got = e.args[k]->kind;
    bool ok = want == Kind::Str ? got == Kind::Str : want == Kind::Void ? (got != Kind::Rec && got != Kind::Void) : IsNumeric(got);
    if (!ok) Error(e.line, "type mismatch: argument " + std::to_string(k + 1) + " of " + e.s + " must be " + (want == Kind::Str ? "a string" : "a number"));
  }

  void BuiltinTypes(Expr& e, Bi id) {
    const Type tInt{Base::Int, -1}, tFloat{Base::Float, -1}, tStr{Base::Str, -1}, tBool{Base::Bool, -1};
    size_t n = e.args.size();
    switch (id) {
      case Bi::Len: Arg(e, 0, Kind::Str); return SetType(e, tInt);
      case Bi::Left: case Bi::Right: Arg(e, 0, Kind::Str); Arg(e, 1, Kind::Int); return SetType(e, tStr);
      case Bi::Mid:
        Arg(e, 0, Kind::Str);
        for (size_t k = 1; k < n; ++k) Arg(e, k, Kind::Int);
        return SetType(e, tStr);
      case Bi::Ucase: case Bi::Lcase: case Bi::Ltrim: case Bi::Rtrim: Arg(e, 0, Kind::Str); return SetType(e, tStr);
      case Bi::Instr:
        if (n == 3) Arg(e, 0, Kind::Int);
        Arg(e, n - 2, Kind::Str);
        Arg(e, n - 1, Kind::Str);
        return SetType(e, tInt);
      case Bi::Str: Arg(e, 0, Kind::Void); return SetType(e, tStr);
      case Bi::Val: Arg(e, 0, Kind::Str); return SetType(e, tFloat);
      case Bi::Chr: case Bi::Hex: case Bi::Space: Arg(e, 0, Kind::Int); return SetType(e, tStr);
      case Bi::Asc: Arg(e, 0, Kind::Str); return SetType(e, tInt);
      case Bi::Abs: Arg(e, 0, Kind::Int); return SetType(e, e.args[0]->kind == Kind::Float ? tFloat : tInt);
      case Bi::Sgn: Arg(e, 0, Kind::Int); return SetType(e, tInt);
      case Bi::Irnd: Arg(e, 0, Kind::Int); Arg(e, 1, Kind::Int); return SetType(e, tInt);
      case Bi::Getfile: Arg(e, 0, Kind::Str); return SetType(e, tStr);
      case Bi::Ubound: case Bi::Lbound:
        if (n == 2) Arg(e, 1, Kind::Int);
        return SetType(e, tInt);
      case Bi::Putfile: Arg(e, 0, Kind::Str); Arg(e, 1, Kind::Void); return SetType(e, tBool);
      default:
        for (size_t k = 0; k < n; ++k) Arg(e, k, Kind::Float);
        return SetType(e, tFloat);
    }
  }

  void FieldValue(Expr& e) {
    if (e.a->kind != Kind::Rec) Error(e.line, "." + e.s + " needs a record, not " + std::string(KindText(e.a->kind)));
    const RecType& r = prog_.types[e.a->type.rec];
    for (size_t k = 0; k < r.fields.size(); ++k) {
      if (SameWord(r.fields[k].name, e.s)) {
        e.slot = static_cast<int>(k);
        SetType(e, r.fields[k].type);
        return;
      }
    }
    Error(e.line, "type " + r.name + " has no field " + e.s);
  }

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

}  // namespace

void Check(Program& prog, std::vector<Problem>& problems) {
  Checker checker(prog, problems);
  checker.Run();
}

namespace {

void ToErrors(const Unit& unit, const std::vector<Problem>& problems, std::vector<std::string>& errors) {
  for (const Problem& p : problems) {
    if (errors.size() >= 20) break;
    errors.push_back(Where(unit, p.line) + ": " + p.message);
  }
}

}  // namespace

bool CompileUnit(Program& prog, std::vector<std::string>& errors) {
  std::vector<Problem> problems;
  Parse(prog, problems);
  if (problems.empty()) Check(prog, problems);
  ToErrors(prog.unit, problems, errors);
  return errors.empty();
}

bool LoadProgram(const std::string& path, const std::string& text, const SourceReader& reader, Program& prog,
                 std::vector<std::string>& errors) {
  std::vector<Diag> diags;
  prog.unit = Preprocess(path, text, reader, PreprocessOptions{}, diags);
  for (const Diag& d : diags) {
    if (errors.size() >= 20) break;
    errors.push_back(d.Text());
  }
  if (!errors.empty()) return false;
  return CompileUnit(prog, errors);
}

}  // namespace zb
