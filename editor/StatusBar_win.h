// The status bar kept to its rule (base/StatusRule.h): which message stands after which action.
// ShowStatus (EditorAccess_win.h) is an action's message; these are the rest.
#pragma once
#include <string>

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
