// F12.
#include "navigation/Definition_win.h"
#include <algorithm>
#include <string>
#include <vector>
#include "base/SharedState.h"
#include "base/StatusBar_win.h"
#include "documents/Documents.h"
#include "editor/Completing_win.h"
#include "language/Completion.h"
#include "editor/EditorAccess_win.h"
#include "editor/Marks_win.h"
#include "language/CharClasses.h"
#include "language/WordAt.h"
#include "navigation/NavigationState.h"

namespace {
// The name at the caret, and the chain of records before it when it follows a dot.
bool NameAtCaret(std::string& name, std::vector<std::string>& records) {
  std::string copy;
  const std::string_view text = ControlTextView(CurrentEditor, copy);
  const TextSpan selection = SelectionSpan(CurrentEditor);
  int start = selection.start, end = selection.start, length = 0;
  // The caret just behind a name is on that name, as it is just after typing it.
  if (start > 1 && (size_t(start) > text.size() || !IsWordChar(static_cast<unsigned char>(text[size_t(start - 1)]))))
    --start;
  name = WordAt(text, start, end, length);
  if (name.empty() || !IsWordChar(static_cast<unsigned char>(name[0])) || name[0] == '#' ||
      (name[0] >= '0' && name[0] <= '9'))
    return false;
  // start is 1-based: the name begins at index start - 1 of its line.
  const size_t nameAt = std::min(size_t(start - 1), text.size());
  const size_t lineStart = text.find_last_of("\r\n", nameAt == 0 ? std::string_view::npos : nameAt - 1);
  const size_t from = lineStart == std::string_view::npos || nameAt == 0 ? 0 : lineStart + 1;
  records = RecordChainBefore(text.substr(from, nameAt - from), nameAt - from);
  return true;
}
}  // namespace

void GoToDefinition() {
  std::string name;
  std::vector<std::string> records;
  if (!NameAtCaret(name, records)) {
    ShowStatus("No name at the caret: F12 goes to where the name at the caret is declared");
    return;
  }
  const DefinitionPlace place = FindDefinition(name, records, CaretLine(CurrentEditor) - 1);
  switch (place.kind) {
    case DefinitionPlace::Kind::Keyword:
      ShowStatus(name + " is a keyword of the language, not declared in the text: F1 shows its help");
      return;
    case DefinitionPlace::Kind::Builtin:
      ShowStatus(name + " is built into the language, not declared in the text: F1 shows its help");
      return;
    case DefinitionPlace::Kind::Nowhere:
      ShowStatus(name + " is declared nowhere in this document or the files it includes");
      return;
    case DefinitionPlace::Kind::Declared: break;
  }
  const Place from{SaveName, CaretPosition()};
  // An #include may name its file with "/"; the document is named as the system names files.
  std::string file = place.file;
  std::replace(file.begin(), file.end(), '/', '\\');
  if (!file.empty() && !OpenListedFile(file)) return;  // cancelled: everything stays
  JumpsBack.Push(from);
  GoToLine(CurrentEditor, place.line + 1);
  std::string said = place.what + ", line " + std::to_string(place.line + 1);
  if (!file.empty()) said += " of " + file;
  ShowStatusAtCaret(said);
}
