// The word around a position.
#include "editor/WordAt.h"
#include "base/TextScan.h"

bool IsWordCode(int c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '#' ||
         c == '_' || c >= 127;
}

std::string WordAt(std::string_view text, int& p, int& end, int& length) {
  if (!IsWordCode(CodeAt(text, p))) {
    end = p + 1;
    length = 1;
    int c = CodeAt(text, p);
    return c == 0 && (p < 1 || p > static_cast<int>(text.size())) ? std::string() : std::string(1, static_cast<char>(c));
  }
  while (IsWordCode(CodeAt(text, p - 1))) --p;
  end = p + 1;
  while (IsWordCode(CodeAt(text, end))) ++end;
  length = end - p;
  return std::string(text.substr(p - 1, length));
}
