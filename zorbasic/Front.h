// The front end shared by the compile tool, the runtimes and the compiler library: a checked
// program with its declarations, built from a preprocessed unit.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "zorbasic/Ast.h"
#include "zorbasic/Source.h"

namespace zb {

// An error at a line of the unit (0-based).
struct Problem {
  int line = 0;
  std::string message;
};

// One declaration, as the compiler library reports it.
struct Decl {
  enum What { Variable, Array, Constant, Sub, Function, RecordType, FieldOf, Parameter, Label, Define };
  What what = Variable;
  std::string name;
  int line = 0;         // unit line
  std::string text;     // the declaration as source text ("dim x as int", "sub f(a as int)")
  std::string scope;    // "" for the main program, else "sub f", "function g", "type point"
  std::vector<std::string> more;  // a type's field lines
};

// A storage slot of a frame (the main program's slots are the globals).
struct SlotInfo {
  Type type;
  bool array = false;
  int dims = 0;      // an array's dimensions, 1 or 2
  std::string name;  // as declared, for the debugger
};

// A constant's value, as the checker computes it.
struct ConstValue {
  Kind kind = Kind::Int;
  int64_t i = 0;
  double f = 0;
  std::string s;
};

// A constant of a scope, kept for the debugger, which reads expressions in a procedure's scope.
struct NamedConstant {
  std::string name;
  int proc = -1;  // the procedure it belongs to, -1 for the main program
  Type type;
  ConstValue value;
};

struct Program {
  Unit unit;
  Block main;
  std::vector<Proc> procs;
  std::vector<RecType> types;
  std::vector<SlotInfo> globals;
  std::vector<std::vector<SlotInfo>> procSlots;  // per procedure
  std::vector<std::string> labels;
  std::vector<Decl> decls;
  std::vector<NamedConstant> consts;
  // The lowest stack address that reading and running the program may reach (0: no limit),
  // set by the host that knows the stack of its thread (see Stack.h).
  uintptr_t stackFloor = 0;
};

// The language's limits. Past them a program is refused with an error, never a crash.
constexpr int MaxBlockDepth = 1000;    // blocks nested in one another
constexpr int MaxExprHeight = 10001;   // operators nested in one expression (10,000), plus its leaves
constexpr int MaxCallDepth = 100000;   // calls and gosubs nested while running

// Parses prog.unit into the tree. Syntax errors go to problems; parsing goes on at the next line.
void Parse(Program& prog, std::vector<Problem>& problems);
// Resolves names, types and slots, and records every declaration in prog.decls.
void Check(Program& prog, std::vector<Problem>& problems);

// Reads, preprocesses, parses and checks a program from its main file. Returns false with the
// errors, as "file(line): message" lines, when it cannot run.
bool LoadProgram(const std::string& path, const std::string& text, const SourceReader& reader, Program& prog,
                 std::vector<std::string>& errors);
// The first error that stops a program from running, found as LoadProgram finds it.
struct FirstError {
  int line = 0;         // the main file's line it belongs to (1-based); 0 when there is no error
  std::string message;  // as the compile tool prints it, "file(line): message"
};
// Checks a program given as its main file's name and text, reading its #include files with
// reader, and runs nothing. An error inside an included file belongs to the main file's line
// of the #include that brought it in.
FirstError CheckProgram(const std::string& path, std::string_view text, const SourceReader& reader,
                        uintptr_t stackFloor);
// The same for a unit that was preprocessed before (a compiled program's payload).
bool CompileUnit(Program& prog, std::vector<std::string>& errors);

// What the debugger reads from the user: an expression, a place (a variable, an element or a
// field), or an assignment "place = expression".
enum class DebugText { Expression, Place, Assignment };
// Reads and types such a text in the scope of procedure proc (-1: the main program): its
// locals and parameters, then the globals, constants, procedures and built-ins. Returns false
// with the reason in the language's own words. The program is not changed.
bool CheckDebugText(const Program& prog, int proc, std::string_view text, DebugText what, ExprPtr& place, ExprPtr& value,
                    std::string& error);

std::string Where(const Unit& unit, int line);  // "file(line)"
std::string TypeName(const Program& prog, Type t);

}  // namespace zb
