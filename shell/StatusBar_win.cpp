// The status bar kept to its rule. The bar is written only when its text changes, so a caret
// moving over the text costs no painting.
#include "base/StatusBar_win.h"
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "base/StatusRule.h"
#include "editor/EditorAccess_win.h"

namespace {
constexpr int EncodingPartWidth = 60;  // at 96 dpi; "UTF-8" with room around it
constexpr char Utf8Name[] = "UTF-8";
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

// The status bar keeps one part for the messages of long commands (its window text), and
// while a UTF-8 document is open a second, narrow one at its right end.
void ShowEncodingPart(bool utf8) {
  if (StatusBar == nullptr) return;
  if (!utf8) {
    int whole = -1;
    Api.SendMessageA(StatusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole));
    return;
  }
  // A status bar spans its parent's width; one not sized yet is taken at that width.
  RECT client{};
  Api.GetClientRect(StatusBar, &client);
  if (client.right <= 0) Api.GetClientRect(Api.GetParent(StatusBar), &client);
  int parts[2] = {std::max(0, int(client.right) - WindowScale(EncodingPartWidth)), -1};
  Api.SendMessageA(StatusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  Api.SendMessageA(StatusBar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(Utf8Name));
}

std::string EncodingShown() {
  if (StatusBar == nullptr || Api.SendMessageA(StatusBar, SB_GETPARTS, 0, 0) < 2) return "";
  char text[64] = "";
  if (LOWORD(Api.SendMessageA(StatusBar, SB_GETTEXTLENGTHA, 1, 0)) >= sizeof text) return "";
  Api.SendMessageA(StatusBar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  return text;
}

void ShowStatus(const std::string& text) {
  Rule.CaretAt(CaretLineNow());
  Rule.Say(text);
  Written.clear();  // an action's message is painted at once even when the same text stands
  Refresh();
}

std::string StatusShown() {
  if (StatusBar == nullptr) return "";
  std::string text(static_cast<size_t>(Api.GetWindowTextLengthA(StatusBar)) + 1, '\0');
  text.resize(static_cast<size_t>(Api.GetWindowTextA(StatusBar, text.data(), static_cast<int>(text.size()))));
  return text;
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
