// The completion list and the parameter hints on the Editor, kept fed with what the current
// document and the files it includes declare. Each does nothing without the Editor.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The keywords of the IDE's list (blank-separated): the list offers those the language knows
// (see CompletionKeywords) beside the names.
void SetCompletionKeywords(const std::string& keywords);
// Text was inserted or deleted at position, adding linesAdded lines (negative when it removed
// lines): the document's names follow the text line by line.
void CompletionTextChanged(size_t position, int linesAdded);
// A character typed: a third letter of a name shows the list, further letters narrow it, "." after
// a record shows its fields, "(" or a blank after a sub's name shows its parameters, a comma
// moves the highlight on and the call's ")" closes the hint.
void CompletionCharAdded(int ch);
// The caret or the selection may have moved: the hint closes when the caret leaves its call and
// follows the parameter the caret is in.
void CompletionUpdateUi(bool selectionChanged);
// Ctrl+Space: the names that begin with the letters before the caret; a single one is put in,
// unless the letters already are that name.
void ShowCompletion();
// SCN_AUTOCSELECTION: a name chosen in the list that the letters before the caret already are,
// byte for byte, is not put in again, which would only leave an undo step that changes nothing.
void CompletionChosen(size_t start, const char* name);
// Ctrl+Shift+Space: the parameters of the call the caret is in.
void ShowParameterHint();
// Whether the list or a hint shows.
bool CompletionShowing();
// A key going down in the Editor: whether the list or a hint that shows takes it (Enter, Tab
// and Esc are then theirs). An Enter that the list which showed by itself should leave to a
// line break (see EnterBreaksLine) closes the list and is not taken.
bool CompletionTakesKey(unsigned virtualKey);

// Where a name is declared, as seen from a 0-based line of the document: the innermost
// declaration known there, in the document or else in a file it includes; with records (the
// chain before a dot, as RecordChainBefore reads it) the field of the type the chain ends in.
// A name nowhere declared may still be a keyword or a built-in of the language.
struct DefinitionPlace {
  enum class Kind { Nowhere, Declared, Keyword, Builtin };
  Kind kind = Kind::Nowhere;
  std::string file;  // the included file that declares it; empty for the document itself
  int line = 0;      // 0-based, in that file
  std::string what;  // what it is and its name as declared: "sub hanoi", "field x"
};
DefinitionPlace FindDefinition(std::string_view name, const std::vector<std::string>& records, int line);
