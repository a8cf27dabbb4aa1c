// The runtime of compiled programs (zorrt32.exe, zorrt64.exe). A compiled program is this
// file with the program's payload appended: started, it reads the payload from its own file
// and runs it. Without a payload it runs the source file named on its command line, which is
// how the compile tool runs a program with the 64-bit runtime (after "-debug pipe" under the
// debugger).
#include <cstdio>
#include <memory>

#include "zorbasic/Payload.h"
#include "zorbasic/tool/WinConsole.h"

namespace {

// The payload appended to the file, or false when there is none.
bool ReadPayload(const std::string& path, std::string& payload) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f || std::fseek(f.get(), 0, SEEK_END) != 0) return false;
  long size = std::ftell(f.get());
  if (size < static_cast<long>(zb::PayloadTrailer)) return false;
  std::string trailer(zb::PayloadTrailer, '\0');
  if (std::fseek(f.get(), size - static_cast<long>(zb::PayloadTrailer), SEEK_SET) != 0 ||
      std::fread(trailer.data(), 1, trailer.size(), f.get()) != trailer.size())
    return false;
  int64_t n = zb::PayloadLength(trailer);
  if (n < 0 || n > size - static_cast<long>(zb::PayloadTrailer)) return false;
  payload.assign(static_cast<size_t>(n), '\0');
  return std::fseek(f.get(), size - static_cast<long>(zb::PayloadTrailer) - static_cast<long>(n), SEEK_SET) == 0 &&
         std::fread(payload.data(), 1, payload.size(), f.get()) == payload.size();
}

int RunPayload(const std::string& payload) {
  zb::Program prog;
  prog.stackFloor = zbwin::ThreadStackFloor(zbwin::ToolStackMargin);
  if (!zb::DeserializeUnit(payload, prog.unit)) {
    zbwin::ErrorLine("zorrt: the program attached to this file is damaged");
    return 1;
  }
  std::vector<std::string> errors;
  if (!zb::CompileUnit(prog, errors)) {
    for (const std::string& e : errors) zbwin::ErrorLine(e);
    return 1;
  }
  return zbwin::RunLoaded(prog);
}

int RunSource(const std::string& path, const std::string& debugPipe) {
  std::string text, why;
  if (!zb::ReadSourceFile(path, text, why)) {
    zbwin::ErrorLine("zorrt: \"" + path + "\" " + why);
    return 1;
  }
  zb::Program prog;
  prog.stackFloor = zbwin::ThreadStackFloor(zbwin::ToolStackMargin);
  std::vector<std::string> errors;
  if (!zb::LoadProgram(path, text, zb::ReadSourceFile, prog, errors)) {
    for (const std::string& e : errors) zbwin::ErrorLine(e);
    return 1;
  }
  return debugPipe.empty() ? zbwin::RunLoaded(prog) : zbwin::RunLoadedDebugged(prog, debugPipe);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::string payload;
    if (ReadPayload(zbwin::OwnPath(), payload)) return RunPayload(payload);
    if (argc == 2) return RunSource(argv[1], "");
    if (argc == 4 && std::string(argv[1]) == "-debug") return RunSource(argv[3], argv[2]);
    zbwin::ErrorLine("zorrt: no program is attached to this runtime (usage: zorrt [-debug pipe] source.zobas)");
    return 2;
  } catch (const std::exception& e) {
    zbwin::ErrorLine(std::string("zorrt: ") + e.what());
    return 1;
  }
}
