// The word around a position.
#include "language/WordAt.h"
#include "base/TextScan.h"
#include "language/CharClasses.h"

std::string WordAt(std::string_view text, int& p, int& end, int& length) {
  if (!IsWordChar(CodeAt(text, p))) {
    end = p + 1;
    length = 1;
    int c = CodeAt(text, p);
    return c == 0 && (p < 1 || p > static_cast<int>(text.size())) ? std::string() : std::string(1, static_cast<char>(c));
  }
  while (IsWordChar(CodeAt(text, p - 1))) --p;
  end = p + 1;
  while (IsWordChar(CodeAt(text, end))) ++end;
  length = end - p;
  return std::string(text.substr(p - 1, length));
}
