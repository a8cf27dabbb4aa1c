// Carries out the dispatcher's plan: information boxes, the direct actions of menu items and
// buttons, and the key command each command message reduces to.
#include "commands/Commands.h"
#include "auxwin/Console.h"
#include "commands/CommandIds.h"
#include "commands/CommandState.h"
#include "commands/Dispatch.h"
#include "documents/Documents.h"
#include "documents/Titles.h"
#include "editor/EditorAccess.h"
#include "shell/Bindings.h"
#include "shell/MainWindow.h"
#include "shell/ShellState.h"

namespace {

constexpr int Cancelled = IDCANCEL;  // the save prompt's Cancel: the command is abandoned

int KeyModifier() {
  return CommandModifierFrom(Api.GetAsyncKeyState(VK_SHIFT) != 0, Api.GetAsyncKeyState(VK_CONTROL) != 0);
}

void ShowInfoBox(const InfoBox& box) {
  Api.MessageBoxA(nullptr, box.text.c_str(), box.title.c_str(), box.style);
}

void SetMainTitle(const char* title) { Api.SetWindowTextA(MainWindow, title); }

// The commands act on the current editing control: Scintilla, or the plain edit fallback.
void FocusEditor() { Api.SetFocus(CurrentEditor); }

void SendCommand(int id) { Api.SendMessageA(MainWindow, WM_COMMAND, id, 0); }

int Toggled(int flag) { return flag == 0 ? 1 : 0; }

// The FinderBoxes slot of window, 0 when it is none of them.
int FinderSlotOf(HWND window) {
  for (int slot = FindBox; slot <= OutputBox; ++slot)
    if (window != nullptr && FinderBoxes[slot] == window) return slot;
  return 0;
}

// The first stage's own actions; false when a cancelled prompt abandoned the command.
bool RunDirectAction(const CommandPlan& plan) {
  switch (plan.action) {
    case DirectAction::None: return true;
    case DirectAction::CloseWindow: Api.SendMessageA(MainWindow, WM_CLOSE, 0, 0); return true;
    case DirectAction::ToggleProject:
      ProjectOpen = Toggled(ProjectOpen);
      PendingAction = 1;
      return true;
    // The menu's check marks show these flags once the menu bar exists.
    case DirectAction::SetOutputExe: OutputKind = 0; return true;
    case DirectAction::SetOutputDll: OutputKind = 1; return true;
    case DirectAction::ToggleNameAfterSource: NameAfterSource = Toggled(NameAfterSource); return true;
    case DirectAction::FindEditorConsoleLine: ConsoleWrite("findeditor2 is not working yet"); return true;
    case DirectAction::Undo: EditorUndo(); return true;
    case DirectAction::Cut: EditorCut(); return true;
    case DirectAction::Copy: EditorCopy(); return true;
    case DirectAction::Paste: EditorPaste(); return true;
    case DirectAction::RunProjectCommand: return true;  // filled by the project commands
  }
  return true;
}

// Enter in the KeywordBox opens the output panel for the box's query, or closes it again
// when there is nothing to ask; the query itself is made by the compiler-query command.
void KeywordQuery() {
  OutputShown = 1;
  PendingAction = 1;
  if (GetControlText(FinderBoxes[KeywordBox]).empty()) OutputShown = 0;
}

bool RunKeyCommand(const KeyCommand& key, LPARAM lParam);

// Enter acts by the window that has the focus; in any other window it does nothing here.
bool EnterInBox(int modifier) {
  KeyAction action = EnterKeyAction(FinderSlotOf(Api.GetFocus()));
  if (action == KeyAction::None) return true;
  return RunKeyCommand({action, modifier}, 0);
}

// A double click on the ProjectBox switches to the file listed at its caret; any double
// click ends with the focus in the editor.
void SwitchByCaret(LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) == FinderBoxes[ProjectBox]) SwitchToListedFile("", true);
  FocusEditor();
}

void ShowAbout() { Api.MessageBoxA(nullptr, AboutText.c_str(), "ZorvexIde", MB_ICONINFORMATION); }

void GoToLineInBox() {
  GoToLineFromBox(CurrentEditor, FinderBoxes[LineBox]);
  FocusEditor();
}

void ShowLineNumberInBox() {
  ShowLineNumber(CurrentEditor, FinderBoxes[LineBox]);
  FocusSelectAll(FinderBoxes[LineBox]);
}

// The third stage; false when a cancelled save prompt abandoned the command.
bool RunKeyCommand(const KeyCommand& key, LPARAM lParam) {
  switch (key.action) {
    case KeyAction::None: return true;
    case KeyAction::KeywordHelp: return true;    // filled by the keyword help
    case KeyAction::KeyHelpBox: return true;     // filled by the help text of the keys
    case KeyAction::AboutBox: ShowAbout(); return true;
    case KeyAction::CompilerQuery: return true;  // filled by the compiler query
    // The search itself is filled in by find and replace; the title is the dispatcher's.
    case KeyAction::FindStep: SetMainTitle("Find"); return true;
    case KeyAction::FindReplaceStep: SetMainTitle("Find & Replace"); return true;
    case KeyAction::Build: return true;          // filled by the run and build commands
    case KeyAction::Tools: return true;          // filled by the tools commands
    case KeyAction::OpenDocument: return OpenDocument() != Cancelled;
    case KeyAction::SaveDocument: SaveDocument(key.modifier); return true;
    case KeyAction::NewDocument: return NewDocument() != Cancelled;
    case KeyAction::ReplaceInSelection: return true;  // filled by replace in selection
    case KeyAction::SwitchByCaret: SwitchByCaret(lParam); return true;
    case KeyAction::EnterInBox: return EnterInBox(key.modifier);
    case KeyAction::GoToLine: GoToLineInBox(); return true;
    case KeyAction::KeywordQuery: KeywordQuery(); return true;
    case KeyAction::SelectAllEditor: FocusSelectAll(CurrentEditor); return true;
    case KeyAction::SelectAllFindBox: FocusSelectAll(FinderBoxes[FindBox]); return true;
    case KeyAction::SelectAllReplaceBox: FocusSelectAll(FinderBoxes[ReplaceBox]); return true;
    case KeyAction::ShowLineNumber: ShowLineNumberInBox(); return true;
    case KeyAction::SendOpen: SendCommand(KeyF8); return true;
    case KeyAction::SendSave: SendCommand(KeyF9); return true;
    case KeyAction::InsertTimeStamp: InsertTimeStamp(); return true;
    case KeyAction::FocusEditor: FocusEditor(); return true;
  }
  return true;
}

}  // namespace

bool DispatchCommand(WPARAM wParam, LPARAM lParam) {
  RewriteToolbarIds(ToolbarIds);
  const CommandPlan plan = PlanCommand(LOWORD(wParam), HIWORD(wParam), KeyModifier(), ToolbarIds);
  if (plan.firstBox) ShowInfoBox(*plan.firstBox);
  if (!RunDirectAction(plan)) return false;
  if (plan.secondBox) ShowMessage(plan.secondBox->text, plan.secondBox->title);
  return RunKeyCommand(plan.third, lParam);
}

void RunPendingAction() {
  // The menu's check marks are refreshed here as well once the menu bar exists.
  if (TakeRelayoutRequest()) Api.SendMessageA(MainWindow, WM_SIZE, 0, 0);
}
