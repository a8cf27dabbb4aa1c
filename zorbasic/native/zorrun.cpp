// The interpreter as a native command-line program: zorrun <file> runs a Zorvex Basic program
// with its console on stdout and stdin, on a thread with the Windows tools' stack. Used by
// tests that run example programs.
#include <cstdio>
#include <iostream>
#include <string>

#include "zorbasic/Front.h"
#include "zorbasic/Interp.h"
#include "zorbasic/native/BigStack.h"

namespace {

class StdHost : public zb::Host {
 public:
  void Write(std::string_view text) override {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }
  bool ReadLine(std::string& line) override {
    if (!std::getline(std::cin, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }
  void ShowBox(const std::string& text) override {
    std::string shown = "[mbox] " + text + "\n";
    Write(shown);
  }
};

int RunFile(const std::string& path, uintptr_t stackFloor) {
  std::string text, why;
  if (!zb::ReadSourceFile(path, text, why)) {
    std::fprintf(stderr, "zorrun: \"%s\" %s\n", path.c_str(), why.c_str());
    return 1;
  }
  zb::Program prog;
  prog.stackFloor = stackFloor;
  std::vector<std::string> errors;
  if (!zb::LoadProgram(path, text, zb::ReadSourceFile, prog, errors)) {
    for (const std::string& e : errors) std::fprintf(stderr, "%s\n", e.c_str());
    return 1;
  }
  StdHost host;
  std::string error;
  int code = zb::Run(prog, host, error);
  if (code) std::fprintf(stderr, "%s\n", error.c_str());
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zorrun <source file>\n");
    return 2;
  }
  std::string path = argv[1];
  int code = zbnative::RunOnToolStack([&](uintptr_t floor) { return RunFile(path, floor); });
  if (code < 0) {
    std::fprintf(stderr, "zorrun: no thread could be started for the program\n");
    return 1;
  }
  return code;
}
