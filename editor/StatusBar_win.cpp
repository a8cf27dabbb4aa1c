// The status bar kept to its rule (declared in StatusBar_win.h and, for ShowStatus, in
// EditorAccess_win.h). The bar is written only when its text changes, so a caret moving over
// the text costs no painting.
#include "editor/StatusBar_win.h"
#include <windows.h>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "base/StatusRule.h"
#include "editor/EditorAccess_win.h"

namespace {
StatusRule Rule("");
std::string Written;  // what was last written into the bar

int CaretLineNow() { return Editor != nullptr ? CaretLine(Editor) : 0; }

void Refresh() {
  const std::string text = Rule.Text();
  if (StatusBar == nullptr || text == Written) return;
  Written = text;
  Api.SetWindowTextA(StatusBar, text.c_str());
  Api.UpdateWindow(StatusBar);
}
}  // namespace

void ShowStatus(const std::string& text) {
  Rule.CaretAt(CaretLineNow());
  Rule.Say(text);
  Written.clear();  // an action's message is painted at once even when the same text stands
  Refresh();
}

void SetIdleStatus(const std::string& text) {
  Rule = StatusRule(text);
  Written = text;
}

void ShowStatusAtCaret(const std::string& text) {
  Rule.SayAt(text, CaretLineNow());
  Written.clear();
  Refresh();
}

void StatusCaretMoved() {
  Rule.CaretAt(CaretLineNow());
  Refresh();
}

void StatusError(const std::string& message, int line) {
  Rule.MarkError(message, line);
  Rule.CaretAt(CaretLineNow());
  Refresh();
}
