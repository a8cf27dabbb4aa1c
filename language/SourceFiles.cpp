// Which files are Zorvex Basic sources.
#include "language/SourceFiles.h"
#include <string>
#include "base/TextScan.h"

namespace {
constexpr std::string_view ProgramExtensions[] = {".zobas", ".bas"};
constexpr std::string_view IncludeExtension = ".inc";
}  // namespace

bool IsSourceName(std::string_view name) {
  const std::string extension = LowerText(ExtPart(name));
  for (std::string_view program : ProgramExtensions)
    if (extension == program) return true;
  return extension == IncludeExtension;
}

bool IsProgramSource(std::string_view name) {
  const std::string extension = LowerText(ExtPart(name));
  // A substring of " .bas .zobas " that starts with "." (as every extension does) is the start
  // of one of the extensions, a blank after it included.
  for (std::string_view program : ProgramExtensions)
    if ((std::string(program) + " ").starts_with(extension)) return true;
  return false;
}
