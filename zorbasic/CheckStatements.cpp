// The checker's statements: declarations, assignments, loops, calls and jumps, block by block.
#include "zorbasic/CheckerCore.h"

#include <cmath>

#include "zorbasic/NumberText.h"

namespace zb::check {

void Checker::CheckBody(Block& body, Proc* proc) {
  proc_ = proc;
  loops_.clear();
  pending_.clear();
  open_.clear();
  labelBlock_.clear();
  CheckBlock(body, -1);
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

void Checker::CheckBlock(Block& b, int opener) {
  if (StackFull(prog_.stackFloor)) Error(b.stmts.empty() ? 0 : b.stmts[0]->line, "blocks nested too deeply for the stack");
  open_.push_back(&b);
  for (size_t k = 0; k < b.stmts.size(); ++k) {
    b.stmts[k]->follows = b.stmts[k]->line == (k ? b.stmts[k - 1]->line : opener);
    try {
      CheckStmt(*b.stmts[k], b, static_cast<int>(k));
    } catch (const CheckError& e) {
      Fail(e.line, e.message);
    }
  }
  open_.pop_back();
}

void Checker::CheckStmt(Stmt& s, Block& b, int index) {
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
      for (Block& arm : s.blocks) CheckBlock(arm, s.line);
      break;
    case SOp::For: For(s); break;
    case SOp::While:
    case SOp::Repeat:
    case SOp::Do:
      if (s.a) Condition(*s.a);
      loops_.push_back(s.op);
      CheckBlock(s.blocks[0], s.line);
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

void Checker::Sizes(DimItem& d) {
  for (Expr* e : {d.size.get(), d.size2.get()}) {
    if (!e) continue;
    Value(*e);
    if (!IsNumeric(e->kind)) Error(d.line, "the size of array " + d.name + " must be a number");
  }
}

void Checker::Dim(Stmt& s) {
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

void Checker::Redim(Stmt& s) {
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

bool Checker::IsConstantTree(const Expr& e) {
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

void Checker::Const(Stmt& s) {
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
    prog_.consts.push_back({d.name, current_, t, v});
    std::string text = v.kind == Kind::Str ? Quote(v.s) : v.kind == Kind::Float ? FormatFloat(v.f)
                     : v.kind == Kind::Bool ? FormatBool(v.i) : FormatInt(v.i);
    AddDecl(Decl::Constant, d.name, d.line, "const " + d.name + " = " + text, ScopeTitle());
  }
}

void Checker::Assign(Stmt& s) {
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

void Checker::For(Stmt& s) {
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
  CheckBlock(s.blocks[0], s.line);
  loops_.pop_back();
}

void Checker::Select(Stmt& s) {
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
    CheckBlock(arm.body, arm.line);
  }
}

void Checker::CallSub(Stmt& s) {
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

void Checker::CheckArgs(const Proc& p, std::vector<ExprPtr>& args, int line) {
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
      ref->calls = args[k]->calls;
      ref->a = std::move(args[k]);
      args[k] = std::move(ref);
    }
  }
}

}  // namespace zb::check
