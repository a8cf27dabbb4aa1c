// Process launching: fire-and-forget starts of the compile tool, the command interpreter and
// the help viewer, plus the program's own folder and command tail.
#include "compiler/Launch.h"
#include "base/Bindings_win.h"
#include "base/Handles_win.h"
#include "compiler/CommandLine.h"

int LaunchProcess(const std::string& commandLine, bool wait) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string writable = commandLine;  // CreateProcessA may write into the command line
  if (!Api.CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
    return 0;
  // Declared thread first, so the process handle is closed first.
  KernelHandle thread(info.hThread);
  KernelHandle process(info.hProcess);
  if (wait) {
    // The process handle is signalled when the whole program has ended.
    HANDLE handles[1] = {process.Get()};
    Api.WaitForMultipleObjects(1, handles, TRUE, INFINITE);
  }
  return 0;
}

int RunShell(const std::string& command, bool wait) {
  return LaunchProcess(ShellCommandLine(command), wait);
}

int RunTool(const std::string& tool, const std::string& options, const std::string& file, bool wait) {
  return LaunchProcess(ToolCommandLine(tool, options, file), wait);
}

std::string GetProgramDir() {
  // The path is read whole, however long: the buffer grows until the name fits.
  std::string path(512, '\0');
  for (;;) {
    DWORD got = Api.GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return {};
    if (got < path.size()) {
      path.resize(got);
      break;
    }
    if (path.size() >= 32768 * 4) return {};
    path.resize(path.size() * 2);
  }
  return ProgramDirOf(path);
}

std::string GetCommandTail() {
  const char* line = Api.GetCommandLineA();
  return CommandTailOf(line ? line : "");
}
