// The compile tool zor5.exe: runs a Zorvex Basic source, runs it with the 64-bit runtime
// (-64), or compiles it to a console program beside the source (-r -32, -r -64).
#include <windows.h>

#include <cstdio>

#include "zorbasic/Payload.h"
#include "zorbasic/ToolArgs.h"
#include "zorbasic/tool/WinConsole.h"

namespace {

bool CanRun64() {
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

std::string RuntimePath(bool bits64) {
  return zbwin::OwnFolder() + (bits64 ? "\\runtime\\zorrt64.exe" : "\\runtime\\zorrt32.exe");
}

// Starts the 64-bit runtime on the source in this console (under the debugger when a pipe is
// named) and waits for it.
int Run64(const std::string& source, const std::string& debugPipe) {
  if (!CanRun64()) {
    zbwin::ErrorLine("zor5: the 64-bit runtime needs 64-bit Windows; this system runs only 32-bit programs (use F5 for a 32-bit run)");
    return 1;
  }
  std::string runtime = RuntimePath(true);
  if (!zbwin::FileExists(runtime)) {
    zbwin::ErrorLine("zor5: the 64-bit runtime is missing: " + runtime);
    return 1;
  }
  std::string command = "\"" + runtime + "\" " + (debugPipe.empty() ? "" : "-debug \"" + debugPipe + "\" ") + "\"" + source + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::fflush(stdout);
  if (!CreateProcessA(runtime.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    zbwin::ErrorLine("zor5: the 64-bit runtime could not be started (error " + std::to_string(GetLastError()) + ")");
    return 1;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

bool SamePath(const std::string& a, const std::string& b) {
  char fa[MAX_PATH * 4], fb[MAX_PATH * 4];
  DWORD na = GetFullPathNameA(a.c_str(), sizeof fa, fa, nullptr);
  DWORD nb = GetFullPathNameA(b.c_str(), sizeof fb, fb, nullptr);
  if (!na || !nb || na >= sizeof fa || nb >= sizeof fb) return zb::SameWord(a, b);
  return zb::SameWord(fa, fb);
}

int Compile(const zb::Program& prog, const std::string& source, bool bits64) {
  std::string target = zb::ExeNameFor(source);
  if (SamePath(target, source)) {
    zbwin::ErrorLine("zor5: the program would replace its own source " + source + "; give the source another extension");
    return 1;
  }
  std::string runtime = RuntimePath(bits64), stub;
  if (!zbwin::ReadBinaryFile(runtime, stub) || stub.empty()) {
    zbwin::ErrorLine("zor5: the runtime is missing: " + runtime);
    return 1;
  }
  std::string why = zbwin::ReplaceFileWhole(target, zb::AttachPayload(stub, zb::SerializeUnit(prog.unit)));
  if (!why.empty()) {
    zbwin::ErrorLine("zor5: cannot write " + target + ": " + why);
    return 1;
  }
  std::printf("zor5: wrote %s (%s console program)\n", target.c_str(), bits64 ? "64-bit" : "32-bit");
  return 0;
}

int Main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    zbwin::ErrorLine(std::string("zor5: ") + zb::ToolUsage);
    return 2;
  }
  zb::ToolArgs t = zb::ParseToolArgs(args);
  switch (t.action) {
    case zb::ToolArgs::Bad: zbwin::ErrorLine(t.error); return 2;
    case zb::ToolArgs::Help:
      std::printf("%s\n  no option    run the program\n  -64          run it with the 64-bit runtime\n"
                  "  -debug pipe  run it under the debugger of the IDE, which made the named pipe\n"
                  "  -r -32       compile it to a 32-bit console program beside the source\n"
                  "  -r -64       compile it to a 64-bit console program beside the source\n",
                  zb::ToolUsage);
      return 0;
    case zb::ToolArgs::Library:
      zbwin::ErrorLine("zor5: library output (-d) is not available in this version; use -r to compile an exe");
      return 2;
    default: break;
  }
  std::string text, why;
  if (!zb::ReadSourceFile(t.source, text, why)) {
    zbwin::ErrorLine("zor5: \"" + t.source + "\" " + why);
    return 1;
  }
  if (t.action == zb::ToolArgs::Run64) return Run64(t.source, t.debugPipe);
  zb::Program prog;
  prog.stackFloor = zbwin::ThreadStackFloor(zbwin::ToolStackMargin);
  std::vector<std::string> errors;
  if (!zb::LoadProgram(t.source, text, zb::ReadSourceFile, prog, errors)) {
    for (const std::string& e : errors) zbwin::ErrorLine(e);
    return 1;
  }
  if (t.action == zb::ToolArgs::Run) return t.debugPipe.empty() ? zbwin::RunLoaded(prog) : zbwin::RunLoadedDebugged(prog, t.debugPipe);
  return Compile(prog, t.source, t.action == zb::ToolArgs::Exe64);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Main(argc, argv);
  } catch (const std::exception& e) {
    zbwin::ErrorLine(std::string("zor5: ") + e.what());
    return 1;
  }
}
