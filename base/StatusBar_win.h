// The main window's status bar, which shell/ makes and owns: every floor shows its messages
// there through these, and shell/ defines them beside the bar. The bar keeps to one rule
// (base/StatusRule.h): which message stands after which action.
#pragma once
#include <string>

// An action's message, painted at once, also in the middle of a long command; it stands until
// another action speaks.
void ShowStatus(const std::string& text);
// The text the status bar shows now.
std::string StatusShown();
// The program's own line, shown when there is nothing else to say.
void SetIdleStatus(const std::string& text);
// An action's message about the caret's place (where a jump went): it goes when the caret
// leaves the line it is on now.
void ShowStatusAtCaret(const std::string& text);
// The caret of the Editor may have moved: a message about a place it left goes.
void StatusCaretMoved();
// The error the last check marked (its message as read on its line, and the line its mark is
// on now), named whenever no action's message stands; line 0: none.
void StatusError(const std::string& message, int line);
// The status bar's second, narrow part at its right end says "UTF-8" while a UTF-8 document is
// open; with an ANSI one the bar has one part.
void ShowEncodingPart(bool utf8);
// The status bar's encoding part: "UTF-8", or "" while an ANSI document is open.
std::string EncodingShown();
