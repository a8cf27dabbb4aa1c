// Running a checked program: the console and message boxes come from the host.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "zorbasic/Front.h"

namespace zb {

class Host {
 public:
  virtual ~Host() = default;
  virtual void Write(std::string_view text) = 0;
  // One line of input without its line break; false at the end of input.
  virtual bool ReadLine(std::string& line) = 0;
  virtual void ShowBox(const std::string& text) = 0;
};

// Runs the program. Returns the exit code: 0 for a normal end, 1 after a run-time error,
// whose "file(line): message" text is put in error. Calls and gosubs nest at most maxDepth
// deep, and the stack below prog.stackFloor is never used.
int Run(const Program& prog, Host& host, std::string& error, int maxDepth = MaxCallDepth);

// A constant's value, evaluated while checking (the expression holds only literals,
// operators and built-in functions).
bool EvalConstant(const Program& prog, const Expr& e, ConstValue& value, std::string& error);

// The value an integer variable of type b stores for x, a fraction rounded to the nearest
// whole number (halves to even); false with the reason when it is outside the type's range.
bool StoredInteger(int64_t x, Base b, int64_t& stored, std::string& why);
bool StoredInteger(double x, Base b, int64_t& stored, std::string& why);

// How print shows a value of each kind.
std::string FormatInt(int64_t v);
std::string FormatBool(int64_t v);

}  // namespace zb
