// What the completion list and the parameter hints show, worked out from the declarations and
// the list of built-ins.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "language/BuiltinList.h"
#include "language/Names.h"

// The names that begin with prefix (letter case ignored), sorted ignoring case, each once in
// the case of its first appearance in names.
std::vector<std::string> NamesStartingWith(const std::vector<std::string_view>& names, std::string_view prefix);
// Whether the declaration is known at the line.
bool KnownAt(const Declaration& d, int line);
// The declaration of name (letter case ignored) known at the line, the innermost one when a
// local name or parameter hides a name of the whole source; null when there is none.
const Declaration* DeclarationAt(const std::vector<Declaration>& names, std::string_view name, int line);
// The declarations known to the document: its own and those of each file it includes.
struct KnownNames {
  const std::vector<Declaration>& document;
  const std::vector<std::vector<Declaration>>& included;
};
// The records that a name behind a dot is a field of, outermost first, read back from the
// text of its line before nameStart: "a.b.c" at c gives a and b, "pts(1).x" at x gives pts
// (whose element is meant), "f(2).x" gives f. Empty when no dot stands right before the name
// or the chain cannot be read (a number, a string or unmatched brackets in it).
std::vector<std::string> RecordChainBefore(std::string_view line, size_t nameStart);
// The type of the last record of a chain, as seen at the line: the first names a variable,
// array, parameter or function known there (in the document, else outside the subs of an
// included file), each next one a field of the type before it. Empty when a link is unknown
// or has no type.
std::string ChainType(const KnownNames& known, const std::vector<std::string>& chain, int line);
// The field name of the type, from the document or else an included file (file: -1 for the
// document, else the included file's index); null when the type has no such field.
const Declaration* FieldOfType(const KnownNames& known, std::string_view type, std::string_view name, int& file);
// Every field of the type, the document's first.
std::vector<std::string> FieldsOfType(const KnownNames& known, std::string_view type);
// How the completion list came to show and what was done in it since.
struct ListShown {
  bool byItself = false;      // shown as a name was typed, not by Ctrl+Space
  bool movedThrough = false;  // an arrow or page key chose another item since
  std::vector<std::string> names;
};
// Whether Enter makes a line break instead of taking the chosen name: when the list showed by
// itself, no other item was chosen in it, and the word typed is already one of its names whole
// ("end", which "endif" also begins with). Tab always takes the name, Ctrl+Space's list keeps
// Enter.
bool EnterBreaksLine(const ListShown& list, std::string_view typed);

// Which parameter a call is at, 0 for the first: callText runs from behind the call's "(" (or
// the blank after a sub's name) to the caret. Commas inside nested parentheses or strings do
// not count. -1 when the call's ")" is in callText.
int CurrentParameter(std::string_view callText);
// Where parameter k stands in a parameter list such as "s, start [, n]": first and last (one
// past it) around the parameter as written, without the blanks and brackets beside it; false
// when the list has no parameter k.
bool ParameterRange(std::string_view parameters, int k, size_t& first, size_t& last);

// The parameter hint of a call: "mid(s, start [, n])", "hanoi(n as int, a as string)".
struct CallHint {
  std::string text;       // empty when the name is no sub, function or built-in
  size_t parameters = 0;  // where the parameter list starts in text
};
// The hint for a call of name at the line: a sub or function known there, else a built-in.
CallHint HintFor(const std::vector<Declaration>& names, const std::vector<Builtin>& builtins, std::string_view name,
                 int line);
// The part of the hint that shows parameter k: false when it has no parameter k.
bool HintParameter(const CallHint& hint, int k, size_t& first, size_t& last);

// A call that a column of a line stands in: the name called and the column where its
// parameters start (behind its "(", or behind the blank after the first word of a statement,
// the way a sub is called without parentheses).
struct CallSite {
  std::string name;
  size_t parametersStart = 0;
  bool parenthesised = true;
};
// The calls around the column, the innermost first: every "(" before the column that is not
// closed before it and stands right behind a name, then the statement's first word when a blank
// follows it before the column. Strings and what follows a "'" comment mark are passed over.
std::vector<CallSite> CallsAround(std::string_view line, size_t column);
// Where the name that ends at the column starts (letters, digits and "_"); the column itself
// when no name ends there.
size_t NameStartBefore(std::string_view line, size_t column);
