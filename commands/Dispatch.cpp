// The dispatcher's three stages as tables: menu and toolbar mappings, command buttons with
// their boxes, the toolbar placeholders and the key commands.
#include "commands/Dispatch.h"

#include "base/SharedState.h"
#include "commands/CommandIds.h"

namespace {

constexpr int FromKeys = -1;  // the mapping keeps the modifier read from the keys

// A menu or toolbar identifier turned into a key command or a direct action.
struct MenuRow {
  int id;
  int target;
  int modifier;
  DirectAction action;
};

constexpr MenuRow MenuRows[] = {
    {MenuNewFile, KeyF10, 0, DirectAction::None},
    {MenuOpen, KeyF8, 1, DirectAction::None},
    {MenuSave, KeyF9, 0, DirectAction::None},
    {MenuSaveAs, KeyF9, 1, DirectAction::None},
    {MenuToggleProject, MenuToggleProject, FromKeys, DirectAction::ToggleProject},
    {MenuToolsCtrl, KeyF7, 2, DirectAction::None},
    {MenuExit, MenuExit, FromKeys, DirectAction::CloseWindow},
    {MenuUndo, MenuUndo, FromKeys, DirectAction::Undo},
    {MenuCut, MenuCut, FromKeys, DirectAction::Cut},
    {MenuCopy, MenuCopy, FromKeys, DirectAction::Copy},
    {MenuPaste, MenuPaste, FromKeys, DirectAction::Paste},
    {MenuFind, KeyF3, 2, DirectAction::None},
    {MenuReplace, KeyF4, 2, DirectAction::None},
    {MenuReplaceInSelection, TargetReplaceInSelection, FromKeys, DirectAction::None},
    {MenuSelectAll, KeyCtrlA, FromKeys, DirectAction::None},
    {MenuSearch, KeyCtrlT, FromKeys, DirectAction::None},
    {MenuQuickRun, KeyF5, 0, DirectAction::None},
    {MenuRunCompiling, KeyF5, 2, DirectAction::None},
    {MenuCompile64, KeyF5, 3, DirectAction::None},
    {MenuOutputExe, MenuOutputExe, FromKeys, DirectAction::SetOutputExe},
    {MenuOutputDll, MenuOutputDll, FromKeys, DirectAction::SetOutputDll},
    {MenuNameAfterSource, MenuNameAfterSource, FromKeys, DirectAction::ToggleNameAfterSource},
    {MenuRunShift, KeyF5, 1, DirectAction::None},
    {MenuHelp, KeyF1, 0, DirectAction::None},
    {MenuAbout, KeyF1, 2, DirectAction::None},
    {MenuBeginnerExample, KeyF2, 0, DirectAction::None},
    {MenuExampleShift, KeyF2, 1, DirectAction::None},
    {MenuShowImage, KeyF2, 2, DirectAction::None},
    {ToolbarHelp, KeyF1, 0, DirectAction::None},
    {MenuKeyHelpBox, KeyF1, 1, DirectAction::None},
    {MenuTools, KeyF7, 0, DirectAction::None},
    {MenuToolsShift, KeyF7, 1, DirectAction::None},
    {MenuToolsCtrl2, KeyF7, 2, DirectAction::None},
};

// A command button: its information box, then a key command or a direct action.
struct ButtonRow {
  int id;
  const char* text;
  const char* title;
  int target;
  int modifier;
  DirectAction action;
};

constexpr ButtonRow ButtonRows[] = {
    {ButtonNewFile, "New File", "Close last file", KeyF10, 0, DirectAction::None},
    {ButtonOpenFile, "Open File", "Open a file..", KeyF8, 1, DirectAction::None},
    {ButtonSaveAs, "Save File as..", "Save this file as..", KeyF9, 1, DirectAction::None},
    {ButtonQuickRun, "Quick Run", "Execute", KeyF5, 0, DirectAction::None},
    {ButtonCompile, "Compile File", "Compile this file", KeyF5, 2, DirectAction::None},
    {ButtonExit, "Exit Window", "leave current window", ButtonExit, 0, DirectAction::CloseWindow},
    {ButtonVersion, "Zorvex Basic 32bit ", "Version 0.1.8g beta/feb 2016->mai-2024", ButtonVersion,
     0, DirectAction::None},
    {ButtonFinder, "FindWord", "find a word", KeyF3, 2, DirectAction::None},
    {ButtonReplace, "Replace", "replace a word", KeyF4, 2, DirectAction::None},
    {ButtonSaveFile, "SaveFile", "save a file", KeyF9, 0, DirectAction::None},
    {ButtonUndo, "Undo", "turn action back", ButtonUndo, 0, DirectAction::Undo},
};

const MenuRow* FindMenuRow(int id) {
  for (const MenuRow& row : MenuRows)
    if (row.id == id) return &row;
  return nullptr;
}

const ButtonRow* FindButtonRow(int id) {
  for (const ButtonRow& row : ButtonRows)
    if (row.id == id) return &row;
  return nullptr;
}

void FirstStage(CommandPlan& plan, int id, int code, int keyModifier) {
  if (const MenuRow* row = FindMenuRow(id)) {
    plan.target = row->target;
    plan.modifier = row->modifier == FromKeys ? keyModifier : row->modifier;
    plan.action = row->action;
  } else if (const ButtonRow* button = FindButtonRow(id)) {
    if (code != 0) return;
    plan.firstBox = InfoBox{button->text, button->title, BoxInformation};
    plan.target = button->target;
    plan.modifier = button->modifier;
    plan.action = button->action;
  } else if (id == ToolbarFindEditor) {
    if (code == 0) plan.action = DirectAction::FindEditorConsoleLine;
  } else if (id >= ProjectCommandFirst && id <= ProjectCommandLast) {
    plan.action = DirectAction::RunProjectCommand;
    plan.projectCommand = id - ProjectCommandFirst;
  }
}

void SecondStage(CommandPlan& plan, int id, int code, const int (&toolbarIds)[10]) {
  if (code != 0) return;
  if (id == toolbarIds[8])
    plan.secondBox = InfoBox{"Editor by Toolbar-click not yet available", "Zor", BoxPlain};
  else if (id == toolbarIds[9])
    plan.secondBox = InfoBox{"nothing to do", "Zor", BoxPlain};
}

}  // namespace

int CommandModifierFrom(bool shiftHeld, bool ctrlHeld) {
  return (shiftHeld ? ModShift : 0) | (ctrlHeld ? ModCtrl : 0);
}

void RewriteToolbarIds(int (&toolbarIds)[10]) {
  for (int i = 0; i < 9; ++i) toolbarIds[i] = ToolbarCommandIds[i];
}

CommandPlan PlanCommand(int id, int code, int keyModifier, const int (&toolbarIds)[10]) {
  CommandPlan plan;
  plan.target = id;
  plan.modifier = keyModifier;
  FirstStage(plan, id, code, keyModifier);
  SecondStage(plan, id, code, toolbarIds);
  plan.third = KeyCommandFor(plan.target, plan.modifier);
  return plan;
}

KeyCommand KeyCommandFor(int target, int modifier) {
  switch (target) {
    case KeyF1:
      if (modifier == 1) return {KeyAction::KeyHelpBox, modifier};
      if (modifier == 2) return {KeyAction::AboutBox, modifier};
      return {KeyAction::KeywordHelp, modifier};
    case KeyF2: return {KeyAction::CompilerQuery, modifier};
    case KeyF3: return {KeyAction::FindStep, modifier};
    case KeyF4: return {KeyAction::FindReplaceStep, modifier};
    case KeyF5: return {KeyAction::Build, modifier};
    case KeyF6:
      if (modifier == 0) return {KeyAction::ListingNext, modifier};
      if (modifier == ModShift) return {KeyAction::ListingPrevious, modifier};
      if (modifier == ModCtrl) return {KeyAction::GoToError, modifier};
      return {KeyAction::None, modifier};
    case KeyF7: return {KeyAction::Tools, modifier};
    case KeyF8: return {KeyAction::OpenDocument, modifier};
    case KeyF9: return {KeyAction::SaveDocument, modifier};
    case KeyF10: return {KeyAction::NewDocument, modifier};
    case KeyF11:
      if (modifier == ModCtrl) return {KeyAction::FoldAll, modifier};
      if (modifier == (ModCtrl | ModShift)) return {KeyAction::UnfoldAll, modifier};
      return {KeyAction::ToggleFold, modifier};
    case KeyF12:
      if (modifier == ModShift) return {KeyAction::GoBack, modifier};
      if (modifier == ModCtrl) return {KeyAction::ListDeclarations, modifier};
      if (modifier == 0) return {KeyAction::GoToDefinition, modifier};
      return {KeyAction::None, modifier};
    case TargetReplaceInSelection: return {KeyAction::ReplaceInSelection, modifier};
    case KeyDoubleClick: return {KeyAction::SwitchByCaret, modifier};
    case KeyEnter: return {KeyAction::EnterInBox, modifier};
    case KeyCtrlA: return {KeyAction::SelectAllEditor, modifier};
    case KeyCtrlE: return {KeyAction::Build, 0};  // runs whatever keys are held
    case KeyCtrlF: return {KeyAction::SelectAllFindBox, modifier};
    case KeyCtrlG: return {KeyAction::ShowLineNumber, modifier};
    case KeyCtrlM: return {modifier & ModShift ? KeyAction::ListBookmarks : KeyAction::ToggleBookmark, modifier};
    case KeyCtrlPeriod: return {KeyAction::NextBookmark, modifier};
    case KeyCtrlComma: return {KeyAction::PreviousBookmark, modifier};
    case KeyCtrlO: return {KeyAction::SendOpen, modifier};
    case KeyCtrlQ: return {KeyAction::ToggleComments, modifier};
    case KeyCtrlR: return {KeyAction::SelectAllReplaceBox, modifier};
    case KeyCtrlS: return {KeyAction::SendSave, modifier};
    case KeyCtrlT: return {KeyAction::InsertTimeStamp, modifier};
    case KeyEscape: return {KeyAction::FocusEditor, modifier};
    case KeyCtrlSpace:
      return {modifier & ModShift ? KeyAction::ShowParameterHint : KeyAction::ShowCompletion, modifier};
    default: return {KeyAction::None, modifier};
  }
}

KeyAction EnterKeyAction(int focusedSlot) {
  switch (focusedSlot) {
    case FindBox: return KeyAction::FindFromBox;
    case ReplaceBox: return KeyAction::FindReplaceFromBox;
    case LineBox: return KeyAction::GoToLine;
    case KeywordBox: return KeyAction::KeywordQuery;
    default: return KeyAction::None;
  }
}

bool TakeRelayoutRequest() {
  const int action = PendingAction;
  if (action == 0) return false;
  PendingAction = 0;
  return action == 1;
}
