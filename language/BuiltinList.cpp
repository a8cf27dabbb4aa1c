// Reading the list of built-ins.
#include "language/BuiltinList.h"

#include "base/TextScan.h"
#include "language/CharClasses.h"

namespace {

// One line of the list, or false when it is not of the list's form.
bool ReadLine(std::string_view line, Builtin& b) {
  size_t p = 0;
  if (line.empty() || !IsNameStart(line[0])) return false;
  while (p < line.size() && IsNameChar(line[p])) ++p;
  b.name = std::string(line.substr(0, p));
  if (p >= line.size() || line[p] != '(') return false;
  size_t close = line.find(')', p);
  if (close == std::string_view::npos || line.find('(', p + 1) < close) return false;
  b.parameters = std::string(line.substr(p + 1, close - p - 1));
  p = close + 1;
  if (p < line.size() && line[p] != ' ') return false;
  while (p < line.size() && line[p] == ' ') ++p;
  b.description = std::string(line.substr(p));
  return true;
}

}  // namespace

std::vector<Builtin> ReadBuiltinList(std::string_view text) {
  std::vector<Builtin> list;
  if (text.find('\0') != std::string_view::npos) return {};
  size_t p = 0;
  while (p < text.size()) {
    size_t e = text.find_first_of("\r\n", p);
    if (e == std::string_view::npos) e = text.size();
    std::string_view line = text.substr(p, e - p);
    if (line.find_first_not_of(" \t") != std::string_view::npos) {
      Builtin b;
      if (!ReadLine(line, b)) return {};
      list.push_back(std::move(b));
    }
    p = e + (e + 1 < text.size() && text[e] == '\r' && text[e + 1] == '\n' ? 2 : 1);
  }
  return list;
}

const Builtin* FindListedBuiltin(const std::vector<Builtin>& list, std::string_view name) {
  for (const Builtin& b : list)
    if (SameText(b.name, name)) return &b;
  return nullptr;
}
