// The completion list and the parameter hints on the Scintilla editor. The document's names are
// kept in a NameIndex that follows every insertion and deletion line by line; the names
// gathered from it are kept, with texts of their own, until an edit changes a declaration, so a
// key typed in a big document costs the lines it changed and not a look at the whole text.
#include "editor/Completing_win.h"
#include <windows.h>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <vector>
#include "base/Bindings_win.h"
#include "base/Files.h"
#include "base/Handles_win.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "language/BuiltinList.h"
#include "language/CharClasses.h"
#include "language/Completion.h"
#include "language/LanguageWords.h"
#include "language/Names.h"
#include "editor/ScintillaDoor_win.h"
#include "scilexer/ZorvexStyles.h"

namespace {


// A change of more lines than this (a load, a paste of a whole file) has the names read again
// from the whole text when they are next needed.
constexpr int ManyLines = 2000;
// A bigger document is not read for names: its index would take several times its size.
constexpr LRESULT LargestRead = 64 << 20;
// The list shows by itself when a name reaches this many letters.
constexpr size_t LettersBeforeList = 3;
constexpr size_t MostShown = 100;

// The declarations gathered from an index, with copies of their texts, so they stay valid
// while the index changes.
struct OwnNames {
  std::string texts;
  std::vector<Declaration> names;
};

void Own(OwnNames& own, std::vector<Declaration> gathered) {
  size_t size = 0;
  for (const Declaration& d : gathered) size += d.name.size() + d.type.size() + d.parameters.size() + d.owner.size();
  own.texts.clear();
  own.texts.reserve(size);
  auto keep = [&](std::string_view& view) {
    const size_t at = own.texts.size();
    own.texts.append(view);
    return at;
  };
  struct Places {
    size_t name, type, parameters, owner;
  };
  std::vector<Places> places;
  places.reserve(gathered.size());
  for (Declaration& d : gathered) places.push_back({keep(d.name), keep(d.type), keep(d.parameters), keep(d.owner)});
  const std::string_view all(own.texts);
  for (size_t k = 0; k < gathered.size(); ++k) {
    Declaration& d = gathered[k];
    d.name = all.substr(places[k].name, d.name.size());
    d.type = all.substr(places[k].type, d.type.size());
    d.parameters = all.substr(places[k].parameters, d.parameters.size());
    d.owner = all.substr(places[k].owner, d.owner.size());
    d.text = {};  // the declaring statement is not needed here
  }
  own.names = std::move(gathered);
}

struct DocumentNames {
  HWND editor = nullptr;
  LRESULT document = 0;   // the editor's document the index was read from
  bool read = false;      // the index follows the text
  bool gathered = false;  // names follow the index
  NameIndex index;
  OwnNames own;
};

struct IncludeCache {
  std::string path;                       // the including file, full
  std::vector<std::string> includeLines;  // its #include names, as written
  std::vector<std::pair<std::string, DiskStamp>> stamps;  // every file asked for, with its stamp then
  DWORD stampsAsked = 0;                  // the tick when the stamps were last asked for
  std::vector<IncludedFile> files;
  std::vector<std::vector<Declaration>> names;  // views into files, which do not change
};

struct HintShown {
  CallHint hint;
  LRESULT parametersStart = 0;
  int line = 0;
};

DocumentNames Document;
IncludeCache Includes;
HintShown Hint;
std::vector<std::string> Keywords;
std::vector<Builtin> Builtins;
bool BuiltinsRead = false;
ListShown Shown;  // the names the list shows now, and how it came to show
HWND SetUpFor = nullptr;

ScintillaDoor EditorDoor() { return ScintillaDoor(Editor); }
LRESULT LineStart(int line) { return EditorDoor().LineStart(line); }
int LineOf(LRESULT position) { return static_cast<int>(EditorDoor().LineFromPosition(position)); }
LRESULT Caret() { return EditorDoor().CurrentPos(); }

// The text of the editor between two positions.
std::string TextBetween(LRESULT from, LRESULT to) {
  if (to <= from) return {};
  return std::string(EditorDoor().Range(from, to));
}

std::string LineText(int line) {
  const LRESULT start = LineStart(line);
  return TextBetween(start, EditorDoor().LineEnd(line));
}

void SetUp() {
  if (SetUpFor == Editor) return;
  SetUpFor = Editor;
  const ScintillaDoor editor = EditorDoor();
  editor.AutoCSetIgnoreCase(true);
  editor.AutoCSetCaseInsensitiveBehaviour(Scintilla::CaseInsensitiveBehaviour::IgnoreCase);
  editor.AutoCSetOrder(Scintilla::Ordering::PerformSort);
  editor.AutoCSetMaxHeight(9);
}

// ---- what the document declares

void ReadWhole() {
  Document = {};
  Document.editor = Editor;
  Document.document = EditorDoor().DocPointer();
  const LRESULT length = EditorDoor().Length();
  if (length > LargestRead) return;
  ScanNames(Document.index, EditorDoor().Text());
  Document.read = true;
}

// The document's names, read and gathered again where the text changed since.
const std::vector<Declaration>& DocumentDeclarations() {
  const bool sameText = Document.editor == Editor && Document.document == EditorDoor().DocPointer() &&
                        static_cast<LRESULT>(Document.index.lines.size()) == EditorDoor().LineCount();
  if (!Document.read || !sameText) ReadWhole();
  if (!Document.gathered && Document.read) {
    Own(Document.own, GatherNames(Document.index));
    Document.gathered = true;
  }
  return Document.own.names;
}

// ---- the included files' names, read again when a file's time stamp changes

// The included files' time stamps are asked for at most this often: on a slow share each
// question is a trip to the server, and a key must not wait for many of them.
constexpr DWORD StampPauseMs = 1000;

// The full name of the file whose folder the document's includes are read from, as the compile
// tool and the check take it: "$" expanded, an untitled document as the scratch source.
std::string IncludingFile() {
  const std::string path = DocumentSourcePath(CurrentFile);
  char full[MAX_PATH * 2];
  const DWORD length = Api.GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

// Whether no file of the last gathering changed since: asked of the system at most once a second.
bool IncludedFilesUnchanged() {
  const DWORD now = Api.GetTickCount();
  if (now - Includes.stampsAsked < StampPauseMs) return true;
  for (const auto& [path, stamp] : Includes.stamps)
    if (FileStamp(path) != stamp) return false;
  Includes.stampsAsked = now;
  return true;
}

const std::vector<std::vector<Declaration>>& IncludedDeclarations() {
  std::vector<std::string> lines;
  if (Document.read)
    for (const IncludeLine& include : IncludesOf(Document.index)) lines.push_back(include.name);
  const std::string including = lines.empty() ? std::string() : IncludingFile();
  if (Includes.path == including && Includes.includeLines == lines && IncludedFilesUnchanged()) return Includes.names;
  Includes = {};
  Includes.path = including;
  Includes.includeLines = lines;
  Includes.stampsAsked = Api.GetTickCount();
  // Every file asked for is noted with its stamp, also one that is not there yet.
  FileReader read = [](const std::string& path, std::string& text) {
    const WholeFile file = ReadWholeFile(path, text, LargestRead);
    Includes.stamps.emplace_back(path, file.stamp);
    return file.result == FileRead::Whole;
  };
  if (!lines.empty()) Includes.files = GatherIncludes(including, Document.index, read);
  for (const IncludedFile& file : Includes.files) Includes.names.push_back(GatherNames(file.names));
  return Includes.names;
}

// ---- what the list offers

const std::vector<Builtin>& BuiltinNames() {
  if (!BuiltinsRead) {
    BuiltinsRead = true;
    std::string text;
    if (ReadWholeFile(ProgramDir + "\\inf\\zorvex_builtins.txt", text, LargestRead).result == FileRead::Whole)
      Builtins = ReadBuiltinList(text);
  }
  return Builtins;
}

// Whether the position is inside a string or a comment, by the lexer's styles.
bool InStringOrComment(LRESULT position) {
  if (position <= 0) return false;
  const LRESULT styled = EditorDoor().EndStyled();
  if (styled < position) EditorDoor().Colourise(static_cast<WPARAM>(LineStart(LineOf(styled))), position);
  using namespace ZorvexStyles;
  switch (EditorDoor().StyleAt(position - 1)) {
    case StyleComment: case StyleLineComment: case StyleDocComment: case StyleString: case StyleOtherQuote:
    case StyleDirectiveComment: case StyleDirectiveDocComment: return true;
    default: return false;
  }
}

// The names that begin with prefix and are known at the line: keywords, built-ins, what the
// document declares there and what the included files declare for the whole source.
std::vector<std::string> NamesFor(std::string_view prefix, int line) {
  std::vector<std::string_view> words;
  for (const std::string& k : Keywords) words.push_back(k);
  for (const Builtin& b : BuiltinNames()) words.push_back(b.name);
  for (const Declaration& d : DocumentDeclarations())
    if (d.kind != NameKind::Field && KnownAt(d, line)) words.push_back(d.name);
  for (const auto& file : IncludedDeclarations())
    for (const Declaration& d : file)
      if (d.kind != NameKind::Field && d.scopeFirst == 0 && d.scopeLast == INT_MAX) words.push_back(d.name);
  return NamesStartingWith(words, prefix);
}

// The fields of the record a chain such as "a.b" or "pts(1)" ends in, from the document and
// the included files.
std::vector<std::string> FieldsFor(const std::vector<std::string>& chain, std::string_view prefix, int line) {
  const std::vector<Declaration>& document = DocumentDeclarations();
  const KnownNames known{document, IncludedDeclarations()};
  std::vector<std::string> fields = FieldsOfType(known, ChainType(known, chain, line));
  std::vector<std::string_view> views(fields.begin(), fields.end());
  return NamesStartingWith(views, prefix);
}

// Shows the names (the first MostShown of them: a list box fills item by item, and more than a
// screenful or two is only scrolled past; the letters typed on narrow it to the rest).
void ShowList(const std::vector<std::string>& names, size_t lettersTyped, bool byItself) {
  Shown = {byItself, false, names};
  std::string joined;
  for (size_t k = 0; k < names.size() && k < MostShown; ++k) (joined.empty() ? joined : joined += ' ') += names[k];
  EditorDoor().AutoCShow(ScintillaDoor::Position(lettersTyped), joined);
}

// Whether the letters typed are one of the names whole and no longer name begins with them.
bool TypedWhole(const std::vector<std::string>& names, std::string_view typed) {
  return names.size() == 1 && SameText(names[0], typed);
}

// The names for the letters before the caret: the fields of a record after "name.", else the
// names known at the caret's line. letters is the count of letters before the caret.
std::vector<std::string> CandidatesAtCaret(size_t& letters) {
  const LRESULT caret = Caret();
  const int line = LineOf(caret);
  const LRESULT start = LineStart(line);
  const std::string text = TextBetween(start, caret);
  const size_t from = NameStartBefore(text, text.size());
  letters = text.size() - from;
  const std::string prefix = text.substr(from);
  if (from > 0 && text[from - 1] == '.') {
    const std::vector<std::string> chain = RecordChainBefore(text, from);
    return chain.empty() ? std::vector<std::string>() : FieldsFor(chain, prefix, line);
  }
  if (!prefix.empty() && prefix[0] >= '0' && prefix[0] <= '9') return {};
  return NamesFor(prefix, line);
}

// ---- the parameter hint

// The hint for name at the line: a sub or function of the document or of an included file,
// else a built-in; subOnly asks for a sub of the document or the includes.
CallHint FindHint(std::string_view name, int line, bool subOnly) {
  auto declared = [&](const std::vector<Declaration>& names) -> CallHint {
    const Declaration* d = DeclarationAt(names, name, line);
    if (!d || (d->kind != NameKind::Sub && (subOnly || d->kind != NameKind::Function))) return {};
    return HintFor(names, {}, name, line);
  };
  CallHint hint = declared(DocumentDeclarations());
  for (const auto& file : IncludedDeclarations())
    if (hint.text.empty()) hint = declared(file);
  if (hint.text.empty() && !subOnly) hint = HintFor({}, BuiltinNames(), name, line);
  return hint;
}

void HighlightParameter() {
  const LRESULT caret = Caret();
  if (LineOf(caret) != Hint.line || caret < Hint.parametersStart) {
    EditorDoor().CallTipCancel();
    return;
  }
  const int k = CurrentParameter(TextBetween(Hint.parametersStart, caret));
  size_t first = 0, last = 0;
  if (k < 0) {
    EditorDoor().CallTipCancel();
  } else if (HintParameter(Hint.hint, k, first, last)) {
    EditorDoor().CallTipSetHlt(ScintillaDoor::Position(first), ScintillaDoor::Position(last));
  } else {
    EditorDoor().CallTipSetHlt(0, 0);
  }
}

// Shows the hint of the first of the calls that has one; false when none has.
bool ShowHintOf(const std::vector<CallSite>& calls, int line) {
  const LRESULT start = LineStart(line);
  for (const CallSite& call : calls) {
    CallHint hint = FindHint(call.name, line, !call.parenthesised);
    if (hint.text.empty()) continue;
    Hint = {std::move(hint), start + static_cast<LRESULT>(call.parametersStart), line};
    const LRESULT nameAt = Hint.parametersStart - static_cast<LRESULT>(call.name.size()) - 1;
    EditorDoor().CallTipShow(std::max(start, nameAt), Hint.hint.text);
    HighlightParameter();
    return true;
  }
  return false;
}

// Statements begin with keywords far more often than with calls: a keyword followed by a blank
// is no sub called and needs no look at the document's names. (Built-in functions are in the
// keyword list too, so "(" is looked up whatever the name.)
bool IsKeyword(std::string_view word) {
  for (const std::string& k : Keywords)
    if (SameText(k, word)) return true;
  return false;
}

// A "(" or a blank typed: the hint of the call it opens.
void CallOpened(char ch) {
  const LRESULT caret = Caret();
  const int line = LineOf(caret);
  const std::string text = TextBetween(LineStart(line), caret);
  std::vector<CallSite> calls = CallsAround(text, text.size());
  std::vector<CallSite> opened;
  for (CallSite& call : calls)
    if (call.parametersStart == text.size() && call.parenthesised == (ch == '(') &&
        (call.parenthesised || !IsKeyword(call.name)))
      opened.push_back(std::move(call));
  if (!opened.empty()) ShowHintOf(opened, line);
}

void NameCharTyped() {
  if (EditorDoor().AutoCActive()) {
    // Narrows the list to the names that begin with the letters typed so far.
    const LRESULT caret = Caret();
    const std::string text = TextBetween(LineStart(LineOf(caret)), caret);
    const std::string typed = text.substr(NameStartBefore(text, text.size()));
    std::vector<std::string> narrowed;
    for (const std::string& name : Shown.names)
      if (name.size() >= typed.size() && SameText(std::string_view(name).substr(0, typed.size()), typed))
        narrowed.push_back(name);
    if (narrowed.empty() || TypedWhole(narrowed, typed)) {
      EditorDoor().AutoCCancel();
    } else if (narrowed.size() != Shown.names.size()) {
      ShowList(narrowed, typed.size(), Shown.byItself);
    }
    return;
  }
  // The list shows by itself only as a name reaches its third letter: a longer name whose
  // list was not wanted, or had nothing to show, is left alone.
  const LRESULT caret = Caret();
  const std::string text = TextBetween(LineStart(LineOf(caret)), caret);
  const size_t start = NameStartBefore(text, text.size());
  if (text.size() - start != LettersBeforeList || InStringOrComment(caret)) return;
  size_t letters = 0;
  std::vector<std::string> names = CandidatesAtCaret(letters);
  if (names.empty() || TypedWhole(names, std::string_view(text).substr(start))) return;
  ShowList(names, letters, true);
}

}  // namespace

void SetCompletionKeywords(const std::string& keywords) { Keywords = CompletionKeywords(keywords); }

void CompletionTextChanged(size_t position, int linesAdded) {
  if (Editor == nullptr || !Document.read || Document.editor != Editor) return;
  if (std::abs(linesAdded) > ManyLines) {
    const HWND editor = Document.editor;
    Document = {};  // the old text's names are let go at once: a new text is being loaded
    Document.editor = editor;
    return;
  }
  const int line = LineOf(static_cast<LRESULT>(position));
  const int count = linesAdded >= 0 ? 1 : 1 - linesAdded;
  const int newCount = linesAdded >= 0 ? 1 + linesAdded : 1;
  if (line + count > static_cast<int>(Document.index.lines.size())) {
    Document.read = Document.gathered = false;
    return;
  }
  // An edit that changed no declaration (a key, a line break, a line of statements deleted)
  // moves the names below it; only one that changed a declaration has them gathered again.
  const EditedLines before = Document.gathered ? LinesBeforeEdit(Document.index, line, count) : EditedLines{};
  ChangeLines(Document.index, line, count, newCount, [](int n) { return LineText(n); });
  if (Document.gathered && !MoveGatheredNames(Document.own.names, before, Document.index, newCount))
    Document.gathered = false;
}

void CompletionCharAdded(int ch) {
  if (Editor == nullptr) return;
  SetUp();
  if (ch > 0 && ch < 256 && IsNameChar(static_cast<unsigned char>(ch))) {
    NameCharTyped();
  } else {
    if (EditorDoor().AutoCActive()) EditorDoor().AutoCCancel();
    const LRESULT caret = Caret();
    if (ch == '.' && !InStringOrComment(caret)) {
      size_t letters = 0;
      std::vector<std::string> fields = CandidatesAtCaret(letters);
      if (!fields.empty()) ShowList(fields, 0, true);
    } else if ((ch == '(' || ch == ' ') && !InStringOrComment(caret)) {
      if (ch == '(' || !EditorDoor().CallTipActive()) CallOpened(static_cast<char>(ch));
    }
  }
  if (EditorDoor().CallTipActive()) HighlightParameter();
}

void CompletionUpdateUi(bool selectionChanged) {
  if (Editor == nullptr || !selectionChanged) return;
  if (EditorDoor().CallTipActive()) HighlightParameter();
}

void ShowCompletion() {
  if (Editor == nullptr) return;
  SetUp();
  size_t letters = 0;
  std::vector<std::string> names = CandidatesAtCaret(letters);
  if (names.empty()) return;
  const LRESULT caret = Caret();
  if (names.size() == 1 && TextBetween(caret - static_cast<LRESULT>(letters), caret) == names.front()) return;
  EditorDoor().AutoCSetChooseSingle(true);
  ShowList(names, letters, false);
  EditorDoor().AutoCSetChooseSingle(false);
}

void CompletionChosen(size_t start, const char* name) {
  if (Editor == nullptr || name == nullptr) return;
  if (TextBetween(static_cast<LRESULT>(start), Caret()) == name) EditorDoor().AutoCCancel();
}

void ShowParameterHint() {
  if (Editor == nullptr) return;
  const LRESULT caret = Caret();
  const int line = LineOf(caret);
  const std::string text = TextBetween(LineStart(line), caret);
  ShowHintOf(CallsAround(text, text.size()), line);
}

bool CompletionShowing() { return Editor != nullptr && (EditorDoor().AutoCActive() || EditorDoor().CallTipActive()); }

bool CompletionTakesKey(unsigned virtualKey) {
  if (!CompletionShowing()) return false;
  if (!EditorDoor().AutoCActive()) return true;  // the hint alone
  if (virtualKey == VK_UP || virtualKey == VK_DOWN || virtualKey == VK_PRIOR || virtualKey == VK_NEXT) {
    Shown.movedThrough = true;
    return true;
  }
  if (virtualKey != VK_RETURN) return true;
  const LRESULT caret = Caret();
  const std::string text = TextBetween(LineStart(LineOf(caret)), caret);
  if (!EnterBreaksLine(Shown, std::string_view(text).substr(NameStartBefore(text, text.size())))) return true;
  EditorDoor().AutoCCancel();
  return CompletionShowing();  // a hint that still shows takes Enter
}

namespace {
std::string KindWord(NameKind kind) {
  switch (kind) {
    case NameKind::Sub: return "sub";
    case NameKind::Function: return "function";
    case NameKind::Type: return "type";
    case NameKind::Field: return "field";
    case NameKind::Constant: return "constant";
    case NameKind::Label: return "label";
    case NameKind::Parameter: return "parameter";
    case NameKind::Array: return "array";
    case NameKind::Variable: return "variable";
  }
  return "name";
}

DefinitionPlace PlaceOf(const Declaration& d, const std::string& file) {
  DefinitionPlace place;
  place.kind = DefinitionPlace::Kind::Declared;
  place.file = file;
  place.line = d.line;
  place.what = KindWord(d.kind) + " " + std::string(d.name);
  return place;
}

}  // namespace

DefinitionPlace FindDefinition(std::string_view name, const std::vector<std::string>& records, int line) {
  if (Editor == nullptr || name.empty()) return {};
  const std::vector<Declaration>& own = DocumentDeclarations();
  const std::vector<std::vector<Declaration>>& included = IncludedDeclarations();
  // A name behind a dot is a field, of a type that may come from another file than the record.
  if (!records.empty()) {
    int file = -1;
    const Declaration* d = FieldOfType(KnownNames{own, included}, ChainType(KnownNames{own, included}, records, line), name, file);
    return d ? PlaceOf(*d, file < 0 ? std::string() : Includes.files[static_cast<size_t>(file)].path) : DefinitionPlace{};
  }
  if (const Declaration* d = DeclarationAt(own, name, line)) return PlaceOf(*d, "");
  // What an included file declares outside its subs and functions is known everywhere.
  for (size_t k = 0; k < included.size(); ++k)
    for (const Declaration& d : included[k])
      if (d.kind != NameKind::Field && d.scopeFirst == 0 && d.scopeLast == INT_MAX && SameText(d.name, name))
        return PlaceOf(d, Includes.files[k].path);
  DefinitionPlace place;
  if (FindListedBuiltin(BuiltinNames(), name)) place.kind = DefinitionPlace::Kind::Builtin;
  else if (IsKeyword(name)) place.kind = DefinitionPlace::Kind::Keyword;
  return place;
}
