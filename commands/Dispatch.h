// The command dispatcher's decisions, free of any window code: which box to show, which
// direct action to take and which key command runs, for one command message.
#pragma once
#include <optional>
#include <string>

// Message-box styles the dispatcher asks for (MB_OK and MB_OK | MB_ICONINFORMATION).
constexpr unsigned BoxPlain = 0x00;
constexpr unsigned BoxInformation = 0x40;

// A message box with no owner.
struct InfoBox {
  std::string text;
  std::string title;
  unsigned style = BoxPlain;
  bool operator==(const InfoBox&) const = default;
};

// What the first stage does itself, after its box (if any) was closed.
enum class DirectAction {
  None,
  CloseWindow,            // send WM_CLOSE (0, 0) to MainWindow
  ToggleProject,          // ProjectOpen flips, PendingAction = 1
  SetOutputExe,           // OutputKind = 0, then refresh the check marks
  SetOutputDll,           // OutputKind = 1, then refresh the check marks
  ToggleNameAfterSource,  // NameAfterSource flips, then refresh the check marks
  FindEditorConsoleLine,  // ConsoleWrite "findeditor2 is not working yet"
  Undo,                   // undo in the focused editor or box
  Cut,                    // cut from the Editor; nothing for a plain edit control
  Copy,                   // copy, likewise
  Paste,                  // paste, likewise
  RunProjectCommand,      // ProjectCommands[projectCommand]; a cancelled prompt stops the dispatch
};

// What the third stage does for a key command (target identifier, modifier).
enum class KeyAction {
  None,
  KeywordHelp,          // help page of the word at the caret of the focused control
  KeyHelpBox,           // the text box listing the keys
  AboutBox,             // AboutText, title "ZorvexIde", information style
  CompilerQuery,        // CompilerQuery(modifier, "")
  FindStep,             // FindStep on the Editor with the FindBox; title "Find"
  FindReplaceStep,      // FindStep with FindBox and ReplaceBox; title "Find & Replace"
  FindFromBox,          // Enter in the FindBox: FindStep as F3, the focus back in the box
  FindReplaceFromBox,   // Enter in the ReplaceBox: FindStep as F4, the focus back in the box
  Build,                // run or build by the modifier
  Tools,                // command interpreter or tools script by the modifier
  OpenDocument,
  SaveDocument,         // modifier 1 asks for a new name
  NewDocument,
  ReplaceInSelection,   // on the Editor with the FindBox and the ReplaceBox
  SwitchByCaret,        // when lParam is the ProjectBox switch files; then focus the Editor
  EnterInBox,           // decided by the focused box: see EnterKeyAction
  GoToLine,             // GoToLineFromBox on the Editor, then focus the Editor
  KeywordQuery,         // OutputShown = 1, PendingAction = 1; query the box text or hide again
  SelectAllEditor,      // FocusSelectAll on the Editor
  SelectAllFindBox,     // FocusSelectAll on the FindBox
  SelectAllReplaceBox,  // FocusSelectAll on the ReplaceBox
  ShowLineNumber,       // line of the Editor's caret into the LineBox, then select it there
  SendOpen,             // SendMessage WM_COMMAND 1008 to MainWindow (nested dispatch)
  SendSave,             // SendMessage WM_COMMAND 1009 to MainWindow (nested dispatch)
  InsertTimeStamp,      // TimeStamp text in place of the focused control's selection
  FocusEditor,
  ToggleComments,       // "' " on the selected lines, or off again; modifier 3 only takes it off
  ToggleFold,           // the fold the caret is in
  FoldAll,              // every block folded
  UnfoldAll,            // every block shown
  GoToError,            // the caret to the line of the error the last check marked
  ListingNext,          // F6: the place of the listing's next line
  ListingPrevious,      // Shift+F6: of its previous line
  GoToDefinition,       // F12: where the name at the caret is declared
  GoBack,               // Shift+F12: back to where the last jump started
  ListDeclarations,     // Ctrl+F12: the document's subs, functions, types and labels
  ToggleBookmark,       // Ctrl+M: the caret line's bookmark on or off
  ListBookmarks,        // Ctrl+Shift+M: every bookmark in the listing panel
  NextBookmark,         // Ctrl+.
  PreviousBookmark,     // Ctrl+,
  ShowCompletion,       // the completion list at the Editor's caret
  ShowParameterHint,    // the parameters of the call the Editor's caret is in
};

struct KeyCommand {
  KeyAction action = KeyAction::None;
  int modifier = 0;  // the modifier the action receives
  bool operator==(const KeyCommand&) const = default;
};

// The three stages of one command message, in the order the window side runs them.
struct CommandPlan {
  std::optional<InfoBox> firstBox;  // command buttons: shown before the direct action / key
  DirectAction action = DirectAction::None;
  int projectCommand = -1;          // index for RunProjectCommand
  std::optional<InfoBox> secondBox; // toolbar entries 9 and 10
  int target = 0;                   // key command target after the first stage
  int modifier = 0;                 // its CommandModifier
  KeyCommand third;                 // what the target does
};

// CommandModifier from the keys held: bit 0 Shift, bit 1 Ctrl.
int CommandModifierFrom(bool shiftHeld, bool ctrlHeld);

// Writes toolbar entries 1..9 with their command identifiers, as every command message does.
void RewriteToolbarIds(int (&toolbarIds)[10]);

// Plans one command message: identifier (low word of wParam), notification code (high
// word), the modifier from the keys and the toolbar entries as they are after the rewrite.
CommandPlan PlanCommand(int id, int code, int keyModifier, const int (&toolbarIds)[10]);

// The third stage alone: what key command (target, modifier) does.
KeyCommand KeyCommandFor(int target, int modifier);

// Enter (2013) acts by the focused window: its FinderBoxes slot, 0 for any other window.
KeyAction EnterKeyAction(int focusedSlot);

// Takes the pending action: returns true (and clears PendingAction) when a relayout and a
// check-mark refresh are due; any other non-zero value is cleared and does nothing.
bool TakeRelayoutRequest();
