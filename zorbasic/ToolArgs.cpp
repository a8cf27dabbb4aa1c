// Reading the compile tool's command line.
#include "zorbasic/ToolArgs.h"

namespace zb {

ToolArgs ParseToolArgs(const std::vector<std::string>& args) {
  ToolArgs t;
  bool exe = false, library = false, bits32 = false, bits64 = false;
  std::vector<std::string> sources;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    if (a == "-debug") {
      if (k + 1 == args.size() || args[k + 1].empty() || args[k + 1][0] == '-') {
        t.error = "zor5: -debug needs the name of the debugger's pipe (" + std::string(ToolUsage) + ")";
        t.action = ToolArgs::Bad;
        return t;
      }
      t.debugPipe = args[++k];
    } else if (a == "-r") exe = true;
    else if (a == "-d") library = true;
    else if (a == "-32") bits32 = true;
    else if (a == "-64") bits64 = true;
    else if (a == "-h" || a == "-?" || a == "--help" || a == "/?") t.action = ToolArgs::Help;
    else if (a.size() > 1 && a[0] == '-') {
      t.error = "zor5: unknown option " + a + " (" + ToolUsage + ")";
      t.action = ToolArgs::Bad;
      return t;
    } else sources.push_back(a);
  }
  if (t.action == ToolArgs::Help) return t;
  if (exe && library) t.error = "zor5: choose -r (exe) or -d (library), not both";
  else if (!t.debugPipe.empty() && (exe || library)) t.error = "zor5: -debug runs the program under the debugger; it does not go with -r or -d";
  else if (bits32 && bits64) t.error = "zor5: choose -32 or -64, not both";
  else if (sources.empty()) t.error = std::string("zor5: no source file named (") + ToolUsage + ")";
  else if (sources.size() > 1) t.error = "zor5: more than one source file named: " + sources[0] + ", " + sources[1];
  if (!t.error.empty()) return t;
  t.source = sources[0];
  if (library) t.action = ToolArgs::Library;
  else if (exe) t.action = bits64 ? ToolArgs::Exe64 : ToolArgs::Exe32;
  else t.action = bits64 ? ToolArgs::Run64 : ToolArgs::Run;
  return t;
}

std::string ExeNameFor(const std::string& source) {
  size_t slash = source.find_last_of("/\\:");
  size_t dot = source.find_last_of('.');
  bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasExt ? source.substr(0, dot) : source) + ".exe";
}

}  // namespace zb
