// Texts of the build and query commands.
#include "compiler/BuildText.h"
#include "base/TextScan.h"

int OutputKindFor(int outputKind, std::string_view outputName) {
  std::string tail = LowerText(outputName.substr(outputName.size() >= 4 ? outputName.size() - 4 : 0));
  if (tail == ".exe") return OutputExe;
  if (tail == ".dll") return OutputLibrary;
  return outputKind;
}

std::string BuildOptions(int modifier, int outputKind) {
  const bool shift = (modifier & 1) != 0, ctrl = (modifier & 2) != 0;
  if (!ctrl) return shift ? "-64 " : "";
  return std::string(outputKind == OutputLibrary ? "-d " : "-r ") + (shift ? "-64 " : "-32 ");
}

void InsertAt(std::string& text, int p, std::string_view what) {
  // Compared as p > size + 1, so that no p (the lowest int included) overflows.
  if (p > 1 && static_cast<size_t>(p - 1) > text.size()) text.resize(static_cast<size_t>(p - 1), ' ');
  InsertText(text, p, what);
}

void InsertListingDirective(std::string& text, int mode, int start, int end, std::string_view word,
                            std::string_view listingFile) {
  const std::string quoted = "\"" + std::string(listingFile) + "\" ";
  if (mode == QueryList || mode == QueryRecord) {
    LineEnd(text, end);
    // The directive goes right behind the line break that ends the caret's line: two bytes for
    // CR LF, one for a lone LF or CR (counting two there would cut the next line in two). At the
    // end of the text the text is padded and the directive starts a line of its own.
    int c = CodeAt(text, end);
    int behind = c == '\r' && CodeAt(text, end + 1) == '\n' ? end + 2 : c != 0 ? end + 1 : end + 2;
    std::string directive = mode == QueryList ? "#list " : "#recordof ";
    InsertAt(text, behind, "\r\n" + directive + quoted + std::string(word) + "\r\n");
  } else if (mode == QueryShow) {
    LineStart(text, start);
    InsertAt(text, start, "#show " + quoted);
  }
}

std::string NulByteQueryText(std::string_view text) {
  std::string_view before = text.substr(0, text.find('\0'));
  size_t line = 1;
  for (char c : before) line += c == '\n';
  return "Not asked: line " + std::to_string(line) +
         " holds a NUL byte (code 0), and the compiler library reads a text only up to such a byte.";
}

std::string ErrorAtLine(std::string_view shown, int checkedLine, int line) {
  const std::string checked = "(" + std::to_string(checkedLine) + "): ";
  if (shown.substr(0, checked.size()) != checked) return std::string(shown);
  return "(" + std::to_string(line) + "): " + std::string(shown.substr(checked.size()));
}

std::string ErrorWithoutFile(std::string_view message, std::string_view file) {
  const bool own = !file.empty() && message.size() > file.size() && message.substr(0, file.size()) == file &&
                   (message[file.size()] == '(' || message[file.size()] == ':');
  if (!own) return std::string(message);
  std::string_view rest = message.substr(file.size());
  if (rest.substr(0, 2) == ": ") rest.remove_prefix(2);  // an error with no line of its own
  return std::string(rest);
}
