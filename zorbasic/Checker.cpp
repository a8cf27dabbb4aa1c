// The checker: resolves every name to a slot, a procedure, a constant or a built-in function,
// gives every expression its type, and records the declarations the compiler library reports.
#include "zorbasic/CheckerCore.h"

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

namespace check {

void Checker::Run() {
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
      localSlots_.push_back({p.type, false, 0, p.name});
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

void Checker::AddDecl(Decl::What what, const std::string& name, int line, std::string text, std::string scope) {
  Decl d;
  d.what = what;
  d.name = name;
  d.line = line;
  d.text = std::move(text);
  d.scope = std::move(scope);
  prog_.decls.push_back(std::move(d));
}

bool Checker::ResolveType(Type& t, const std::string& name, int line, int before) {
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

void Checker::RegisterTypes() {
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

void Checker::RegisterProcs() {
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

Sym* Checker::Find(const std::string& name) {
  std::string key = Lower(name);
  if (current_ >= 0) {
    auto it = locals_.find(key);
    if (it != locals_.end()) return &it->second;
  }
  auto it = globals_.find(key);
  return it == globals_.end() ? nullptr : &it->second;
}

Sym& Checker::Declare(const std::string& name, int line, Sym::K k, Type type, int dims) {
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
    slots.push_back({type, k == Sym::Array, dims, name});
  }
  return scope[key] = s;
}

}  // namespace check

void Check(Program& prog, std::vector<Problem>& problems) {
  check::Checker checker(prog, problems);
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

namespace {

// The main file's line that unit line belongs to: its own, or the #include line that the
// included lines follow. A line past the end belongs to the main file's last line.
int MainFileLine(const Unit& unit, int line) {
  if (unit.origins.empty()) return 1;
  if (line < 0 || line >= static_cast<int>(unit.origins.size())) line = static_cast<int>(unit.origins.size()) - 1;
  while (line > 0 && unit.origins[line].file != 0) --line;
  return unit.origins[line].file == 0 ? unit.origins[line].line : 1;
}

// The unit line of an error the preprocessor reported in one of the files it read.
int UnitLineOf(const Unit& unit, const Diag& d) {
  for (size_t k = 0; k < unit.origins.size(); ++k) {
    const Origin& o = unit.origins[k];
    if (o.line == d.line && unit.files[o.file] == d.file) return static_cast<int>(k);
  }
  return -1;
}

}  // namespace

FirstError CheckProgram(const std::string& path, std::string_view text, const SourceReader& reader,
                        uintptr_t stackFloor) {
  Program prog;
  prog.stackFloor = stackFloor;
  std::vector<Diag> diags;
  prog.unit = Preprocess(path, text, reader, PreprocessOptions{}, diags);
  if (!diags.empty()) return {MainFileLine(prog.unit, UnitLineOf(prog.unit, diags.front())), diags.front().Text()};
  std::vector<Problem> problems;
  Parse(prog, problems);
  if (problems.empty()) Check(prog, problems);
  if (problems.empty()) return {};
  const Problem& first = problems.front();
  return {MainFileLine(prog.unit, first.line), Where(prog.unit, first.line) + ": " + first.message};
}

}  // namespace zb
