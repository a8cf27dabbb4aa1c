// Carries out the dispatcher's plan: information boxes, the direct actions of menu items and
// buttons, and the key command each command message reduces to.
#include "commands/Commands_win.h"
#include "auxwin/Console.h"
#include "base/Bindings_win.h"
#include "base/Boxes_win.h"
#include "base/SharedState.h"
#include "compiler/Build.h"
#include "compiler/Debugger_win.h"
#include "compiler/ErrorCheck.h"
#include "navigation/FindFiles.h"
#include "commands/CommandIds.h"
#include "commands/CommandState.h"
#include "commands/Dispatch.h"
#include "commands/Drops_win.h"
#include "commands/MenuBar_win.h"
#include "documents/Documents.h"
#include "documents/TimeStamps_win.h"
#include "editor/Completing_win.h"
#include "editor/EditorAccess_win.h"
#include "editor/Editing_win.h"
#include "editor/FindReplace_win.h"
#include "editor/Folding_win.h"
#include "navigation/Definition_win.h"
#include "navigation/Navigation_win.h"

namespace {

// The keys held when the message being handled was queued, not those held now: keys typed
// while the program was busy are read as they were typed.
bool KeyHeld(int key) { return (Api.GetKeyState(key) & 0x8000) != 0; }

int KeyModifier() { return CommandModifierFrom(KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL)); }

void ShowInfoBox(const InfoBox& box) { ShowBox(box.text, box.title, box.style); }

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

// The first stage's own actions; Stop when a cancelled prompt abandoned the command.
Outcome RunDirectAction(const CommandPlan& plan) {
  switch (plan.action) {
    case DirectAction::None: break;
    case DirectAction::CloseWindow: Api.SendMessageA(MainWindow, WM_CLOSE, 0, 0); break;
    case DirectAction::ToggleProject:
      ProjectOpen = Toggled(ProjectOpen);
      PendingAction = 1;
      break;
    case DirectAction::SetOutputExe:
      OutputKind = 0;
      RefreshCheckMarks();
      break;
    case DirectAction::SetOutputDll:
      OutputKind = 1;
      RefreshCheckMarks();
      break;
    case DirectAction::ToggleNameAfterSource:
      NameAfterSource = Toggled(NameAfterSource);
      RefreshCheckMarks();
      break;
    case DirectAction::FindEditorConsoleLine: ConsoleWrite("findeditor2 is not working yet"); break;
    case DirectAction::Undo: EditorUndo(); break;
    case DirectAction::Cut: EditorCut(); break;
    case DirectAction::Copy: EditorCopy(); break;
    case DirectAction::Paste: EditorPaste(); break;
    case DirectAction::RunProjectCommand: return ProjectCommand(plan.projectCommand);
  }
  return Outcome::Go;
}

Outcome RunKeyCommand(const KeyCommand& key, LPARAM lParam);

// Enter acts by the window that has the focus; in any other window it does nothing here.
Outcome EnterInBox(int modifier) {
  KeyAction action = EnterKeyAction(FinderSlotOf(Api.GetFocus()));
  if (action == KeyAction::None) return Outcome::Go;
  return RunKeyCommand({action, modifier}, 0);
}

// A double click on the ProjectBox switches to the file listed at its caret, one on the
// OutputBox or the listing panel goes to the line its listing names there; any double click
// ends with the focus in the editor.
void SwitchByCaret(LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(lParam);
  if (window == FinderBoxes[ProjectBox]) SwitchToListedFile("", true);
  else if (window != nullptr && window == FinderBoxes[OutputBox]) JumpFromListingCaret();
  else if (window != nullptr && window == ListingPanel && !DebugPanelJump()) JumpFromListingCaret();
  FocusEditor();
}

void ShowAbout() { ShowBox(AboutText, "ZorvexIde", MB_ICONINFORMATION); }

// F3 and F4 search in the editor with the FindBox, F4 replacing with the ReplaceBox; the title
// says which one ran.
void FindCommand(int modifier, bool replacing) {
  FindStep(CurrentEditor, FinderBoxes[FindBox], modifier, replacing ? FinderBoxes[ReplaceBox] : nullptr);
  SetMainTitle(replacing ? "Find & Replace" : "Find");
}

// Enter in the FindBox or the ReplaceBox: the same step, the focus back in the box.
void FindFromBox(int modifier, int slot) {
  FindStep(CurrentEditor, FinderBoxes[FindBox], modifier, slot == ReplaceBox ? FinderBoxes[ReplaceBox] : nullptr);
  Api.SetFocus(FinderBoxes[slot]);
}

void GoToLineInBox() {
  GoToLineFromBox(CurrentEditor, FinderBoxes[LineBox]);
  FocusEditor();
}

void ShowLineNumberInBox() {
  ShowLineNumber(CurrentEditor, FinderBoxes[LineBox]);
  FocusSelectAll(FinderBoxes[LineBox]);
}

// The third stage; Stop when a cancelled save prompt abandoned the command.
Outcome RunKeyCommand(const KeyCommand& key, LPARAM lParam) {
  switch (key.action) {
    case KeyAction::None: break;
    case KeyAction::KeywordHelp: KeywordHelp(); break;
    case KeyAction::KeyHelpBox: ShowKeyHelp(); break;
    case KeyAction::AboutBox: ShowAbout(); break;
    case KeyAction::CompilerQuery: CompilerQuery(key.modifier, ""); break;
    case KeyAction::FindStep: FindCommand(key.modifier, false); break;
    case KeyAction::FindReplaceStep: FindCommand(key.modifier, true); break;
    case KeyAction::FindFromBox: FindFromBox(key.modifier, FindBox); break;
    case KeyAction::FindReplaceFromBox: FindFromBox(key.modifier, ReplaceBox); break;
    case KeyAction::Build: BuildCommand(key.modifier); break;
    case KeyAction::Tools: ToolsCommand(key.modifier); break;
    case KeyAction::OpenDocument: return OpenDocument();
    case KeyAction::SaveDocument:
      SaveDocument(key.modifier);
      RebuildMenuIfProjectText();
      break;
    case KeyAction::NewDocument: return NewDocument();
    case KeyAction::ReplaceInSelection:
      ReplaceInSelection(CurrentEditor, FinderBoxes[FindBox], FinderBoxes[ReplaceBox]);
      break;
    case KeyAction::SwitchByCaret: SwitchByCaret(lParam); break;
    case KeyAction::EnterInBox: return EnterInBox(key.modifier);
    case KeyAction::GoToLine: GoToLineInBox(); break;
    case KeyAction::KeywordQuery: KeywordBoxQuery(); break;
    case KeyAction::SelectAllEditor: FocusSelectAll(CurrentEditor); break;
    case KeyAction::SelectAllFindBox: FocusSelectAll(FinderBoxes[FindBox]); break;
    case KeyAction::SelectAllReplaceBox: FocusSelectAll(FinderBoxes[ReplaceBox]); break;
    case KeyAction::ShowLineNumber: ShowLineNumberInBox(); break;
    case KeyAction::SendOpen: SendCommand(KeyF8); break;
    case KeyAction::SendSave: SendCommand(KeyF9); break;
    case KeyAction::InsertTimeStamp: InsertTimeStamp(); break;
    case KeyAction::FocusEditor:  // Esc: a running search stops first
      StopFindInFiles();
      FocusEditor();
      break;
    case KeyAction::ToggleComments: ToggleLineComments(key.modifier & ModShift); break;
    case KeyAction::ToggleFold: ToggleFoldAtCaret(); break;
    case KeyAction::FoldAll: FoldAll(); break;
    case KeyAction::UnfoldAll: UnfoldAll(); break;
    case KeyAction::GoToError: GoToErrorLine(); break;
    case KeyAction::ListingNext: ListingStep(true); break;
    case KeyAction::ListingPrevious: ListingStep(false); break;
    case KeyAction::GoToDefinition: GoToDefinition(); break;
    case KeyAction::GoBack: GoBack(); break;
    case KeyAction::ListDeclarations: ListDeclarations(); break;
    case KeyAction::ToggleBookmark: ToggleBookmarkAtCaret(); break;
    case KeyAction::ListBookmarks: ListBookmarks(); break;
    case KeyAction::NextBookmark: StepBookmark(true); break;
    case KeyAction::PreviousBookmark: StepBookmark(false); break;
    case KeyAction::ShowCompletion:
      if (Editor && reinterpret_cast<HWND>(lParam) == Editor) ShowCompletion();
      break;
    case KeyAction::ShowParameterHint:
      if (Editor && reinterpret_cast<HWND>(lParam) == Editor) ShowParameterHint();
      break;
  }
  return Outcome::Go;
}

}  // namespace

Outcome DispatchCommand(WPARAM wParam, LPARAM lParam) {
  RewriteToolbarIds(ToolbarIds);
  const CommandPlan plan = PlanCommand(LOWORD(wParam), HIWORD(wParam), KeyModifier(), ToolbarIds);
  if (plan.firstBox) ShowInfoBox(*plan.firstBox);
  if (RunDirectAction(plan) == Outcome::Stop) return Outcome::Stop;
  if (plan.secondBox) ShowMessage(plan.secondBox->text, plan.secondBox->title);
  return RunKeyCommand(plan.third, lParam);
}

void RunPendingAction() {
  if (!TakeRelayoutRequest()) return;
  Api.SendMessageA(MainWindow, WM_SIZE, 0, 0);
  RefreshCheckMarks();
}
