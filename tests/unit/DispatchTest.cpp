// The dispatcher's mapping from (identifier, notification code, modifier) to boxes, direct
// actions and key commands, one table row per identifier.
#include <gtest/gtest.h>

#include "commands/CommandIds.h"
#include "commands/CommandState.h"
#include "commands/Dispatch.h"
#include "shell/ShellState.h"

namespace {

using A = DirectAction;
using K = KeyAction;

int Toolbar[10] = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109};

CommandPlan Plan(int id, int code = 0, int keyModifier = 0) {
  RewriteToolbarIds(Toolbar);
  return PlanCommand(id, code, keyModifier, Toolbar);
}

struct MenuCase {
  int id;
  int target;
  int modifier;  // -1: the modifier from the keys stays
  A action;
  K key;
};

// Every menu and toolbar identifier. Run with the keys giving 3, so a fixed modifier shows.
const MenuCase MenuCases[] = {
    {2900, 2900, -1, A::None, K::None},
    {2901, 2901, -1, A::None, K::None},
    {2902, 2902, -1, A::None, K::None},
    {3000, 1010, 0, A::None, K::NewDocument},
    {3001, 1008, 1, A::None, K::OpenDocument},
    {3002, 1009, 0, A::None, K::SaveDocument},
    {3003, 1009, 1, A::None, K::SaveDocument},
    {3005, 3005, -1, A::ToggleProject, K::None},
    {3008, 1007, 2, A::None, K::Tools},
    {3009, 3009, -1, A::CloseWindow, K::None},
    {3010, 3010, -1, A::Undo, K::None},
    {3011, 3011, -1, A::Cut, K::None},
    {3012, 3012, -1, A::Copy, K::None},
    {3013, 3013, -1, A::Paste, K::None},
    {3014, 1003, 2, A::None, K::FindStep},
    {3015, 1004, 2, A::None, K::FindReplaceStep},
    {3016, 1020, -1, A::None, K::ReplaceInSelection},
    {3017, 2065, -1, A::None, K::SelectAllEditor},
    {3018, 2084, -1, A::None, K::InsertTimeStamp},
    {3020, 1005, 0, A::None, K::Build},
    {3022, 1005, 2, A::None, K::Build},
    {3023, 1005, 3, A::None, K::Build},
    {3024, 3024, -1, A::SetOutputExe, K::None},
    {3025, 3025, -1, A::SetOutputDll, K::None},
    {3026, 3026, -1, A::ToggleNameAfterSource, K::None},
    {3027, 1005, 1, A::None, K::Build},
    {3030, 1001, 0, A::None, K::KeywordHelp},
    {3032, 1001, 2, A::None, K::AboutBox},
    {3033, 1002, 0, A::None, K::CompilerQuery},
    {3034, 1002, 1, A::None, K::CompilerQuery},
    {3035, 1002, 2, A::None, K::CompilerQuery},
    {3037, 1001, 0, A::None, K::KeywordHelp},
    {3038, 1001, 1, A::None, K::KeyHelpBox},
    {3040, 1007, 0, A::None, K::Tools},
    {3041, 1007, 1, A::None, K::Tools},
    {3042, 1007, 2, A::None, K::Tools},
    {3043, 3043, -1, A::None, K::None},
    {3044, 3044, -1, A::None, K::None},
    {3045, 3045, -1, A::None, K::None},
};

TEST(DispatchMenu, EveryMenuAndToolbarIdentifierMapsAsTabulated) {
  for (const MenuCase& c : MenuCases) {
    for (int keys : {0, 3}) {
      const CommandPlan plan = Plan(c.id, 0, keys);
      const int modifier = c.modifier < 0 ? keys : c.modifier;
      EXPECT_EQ(plan.target, c.target) << c.id;
      EXPECT_EQ(plan.modifier, modifier) << c.id;
      EXPECT_EQ(plan.action, c.action) << c.id;
      EXPECT_EQ(plan.third.action, c.key) << c.id;
      EXPECT_FALSE(plan.firstBox) << c.id;
      EXPECT_FALSE(plan.secondBox) << c.id;
    }
  }
}

struct ButtonCase {
  int id;
  const char* text;
  const char* title;
  A action;
  K key;
  int modifier;
};

const ButtonCase ButtonCases[] = {
    {1000, "New File", "Close last file", A::None, K::NewDocument, 0},
    {4001, "Open File", "Open a file..", A::None, K::OpenDocument, 1},
    {4002, "Save File as..", "Save this file as..", A::None, K::SaveDocument, 1},
    {4003, "Quick Run", "Execute", A::None, K::Build, 0},
    {4004, "Compile File", "Compile this file", A::None, K::Build, 2},
    {4005, "Exit Window", "leave current window", A::CloseWindow, K::None, 0},
    {4006, "Zorvex Basic 32bit ", "Version 0.1.8g beta/feb 2016->mai-2024", A::None, K::None, 0},
    {4007, "FindWord", "find a word", A::None, K::FindStep, 2},
    {4008, "Replace", "replace a word", A::None, K::FindReplaceStep, 2},
    {4009, "SaveFile", "save a file", A::None, K::SaveDocument, 0},
    {4010, "Undo", "turn action back", A::Undo, K::None, 0},
};

TEST(DispatchButtons, ClickShowsItsBoxThenRunsItsCommand) {
  for (const ButtonCase& c : ButtonCases) {
    const CommandPlan plan = Plan(c.id, 0, 3);
    ASSERT_TRUE(plan.firstBox) << c.id;
    EXPECT_EQ(*plan.firstBox, (InfoBox{c.text, c.title, BoxInformation})) << c.id;
    EXPECT_EQ(plan.action, c.action) << c.id;
    EXPECT_EQ(plan.third, (KeyCommand{c.key, c.modifier})) << c.id;
    EXPECT_FALSE(plan.secondBox) << c.id;
  }
}

TEST(DispatchButtons, OtherNotificationCodesDoNothing) {
  for (const ButtonCase& c : ButtonCases) {
    const CommandPlan plan = Plan(c.id, 6, 0);  // BN_KILLFOCUS
    EXPECT_FALSE(plan.firstBox) << c.id;
    EXPECT_EQ(plan.action, A::None) << c.id;
    EXPECT_EQ(plan.third.action, K::None) << c.id;
  }
}

TEST(DispatchToolbar, FindEditorWritesTheConsoleLineAndShowsItsBox) {
  const CommandPlan plan = Plan(ToolbarFindEditor);
  EXPECT_EQ(plan.action, A::FindEditorConsoleLine);
  ASSERT_TRUE(plan.secondBox);
  EXPECT_EQ(*plan.secondBox, (InfoBox{"Editor by Toolbar-click not yet available", "Zor", 0}));
  EXPECT_EQ(plan.third.action, K::None);
}

TEST(DispatchToolbar, CodefinderShowsNothingToDo) {
  const CommandPlan plan = Plan(ToolbarCodefinder);
  EXPECT_EQ(plan.action, A::None);
  ASSERT_TRUE(plan.secondBox);
  EXPECT_EQ(*plan.secondBox, (InfoBox{"nothing to do", "Zor", 0}));
}

TEST(DispatchToolbar, NotificationsOfTheToolbarPlaceholdersDoNothing) {
  for (int id : {ToolbarFindEditor, ToolbarCodefinder}) {
    const CommandPlan plan = Plan(id, 1);
    EXPECT_EQ(plan.action, A::None) << id;
    EXPECT_FALSE(plan.secondBox) << id;
  }
}

TEST(DispatchToolbar, EveryCommandRewritesTheFirstNineEntries) {
  int ids[10] = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109};
  RewriteToolbarIds(ids);
  const int expected[10] = {3000, 3001, 3003, 3020, 3022, 3014, 3037, 3032, 3046, 109};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(ids[i], expected[i]) << i;
}

TEST(DispatchToolbar, SecondStageComparesWithTheEntriesItIsGiven) {
  int ids[10] = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109};  // not yet rewritten
  EXPECT_FALSE(PlanCommand(ToolbarFindEditor, 0, 0, ids).secondBox);
  EXPECT_TRUE(PlanCommand(108, 0, 0, ids).secondBox);
}

TEST(DispatchProject, ProjectMenuRangeRunsItsCommand) {
  for (int id : {3100, 3142, 3199}) {
    const CommandPlan plan = Plan(id);
    EXPECT_EQ(plan.action, A::RunProjectCommand) << id;
    EXPECT_EQ(plan.projectCommand, id - 3100) << id;
    EXPECT_EQ(plan.third.action, K::None) << id;
  }
  for (int id : {3099, 3200}) EXPECT_EQ(Plan(id).action, A::None) << id;
}

TEST(DispatchSilent, ControlNotificationsAndPlaceholdersRunNothing) {
  for (int id : {256, 257, 6000, 100, 104, 108, 1099, 2067, 2086, 2088, 2090, 2066}) {
    for (int code : {0, 0x100, 0x300}) {
      const CommandPlan plan = Plan(id, code, 1);
      EXPECT_EQ(plan.action, A::None) << id;
      EXPECT_FALSE(plan.firstBox) << id;
      EXPECT_FALSE(plan.secondBox) << id;
      EXPECT_EQ(plan.third.action, K::None) << id;
    }
  }
}

struct KeyCase {
  int target;
  int modifier;
  K action;
  int passed;  // modifier the action receives
};

const KeyCase KeyCases[] = {
    {1001, 0, K::KeywordHelp, 0},     {1001, 3, K::KeywordHelp, 3},
    {1001, 1, K::KeyHelpBox, 1},      {1001, 2, K::AboutBox, 2},
    {1002, 3, K::CompilerQuery, 3},   {1003, 1, K::FindStep, 1},
    {1004, 2, K::FindReplaceStep, 2}, {1005, 3, K::Build, 3},
    {1006, 0, K::ListingNext, 0},     {1006, 1, K::ListingPrevious, 1},
    {1006, 2, K::GoToError, 2},            {1006, 3, K::None, 3},
    {1012, 0, K::GoToDefinition, 0},            {1012, 1, K::GoBack, 1},
    {1012, 2, K::ListDeclarations, 2}, {1012, 3, K::None, 3},
    {2077, 2, K::ToggleBookmark, 2},  {2077, 3, K::ListBookmarks, 3},
    {2190, 2, K::NextBookmark, 2},    {2188, 2, K::PreviousBookmark, 2},
    {1007, 1, K::Tools, 1},
    {1008, 2, K::OpenDocument, 2},    {1009, 1, K::SaveDocument, 1},
    {1009, 3, K::SaveDocument, 3},    {1010, 0, K::NewDocument, 0},
    {1020, 2, K::ReplaceInSelection, 2}, {1099, 0, K::None, 0},
    {1103, 0, K::SwitchByCaret, 0},   {2013, 1, K::EnterInBox, 1},
    {2065, 2, K::SelectAllEditor, 2}, {2069, 3, K::Build, 0},
    {2069, 1, K::Build, 0},           {2070, 2, K::SelectAllFindBox, 2},
    {2071, 2, K::ShowLineNumber, 2},  {2079, 2, K::SendOpen, 2},
    {2082, 2, K::SelectAllReplaceBox, 2}, {2083, 3, K::SendSave, 3},
    {2084, 2, K::InsertTimeStamp, 2}, {2227, 0, K::FocusEditor, 0},
    {2081, 2, K::ToggleComments, 2},  {2081, 3, K::ToggleComments, 3},
    {1011, 0, K::ToggleFold, 0},      {1011, 1, K::ToggleFold, 1},
    {1011, 2, K::FoldAll, 2},         {1011, 3, K::UnfoldAll, 3},
    {2032, 2, K::ShowCompletion, 2},  {2032, 3, K::ShowParameterHint, 3},
};

TEST(DispatchKeys, EveryKeyCommandRunsItsAction) {
  for (const KeyCase& c : KeyCases) {
    EXPECT_EQ(KeyCommandFor(c.target, c.modifier), (KeyCommand{c.action, c.passed}))
        << c.target << " modifier " << c.modifier;
    EXPECT_EQ(Plan(c.target, 0, c.modifier).third, (KeyCommand{c.action, c.passed})) << c.target;
  }
}

TEST(DispatchKeys, EnterActsByTheFocusedBox) {
  EXPECT_EQ(EnterKeyAction(FindBox), K::FindFromBox);
  EXPECT_EQ(EnterKeyAction(ReplaceBox), K::FindReplaceFromBox);
  EXPECT_EQ(EnterKeyAction(LineBox), K::GoToLine);
  EXPECT_EQ(EnterKeyAction(KeywordBox), K::KeywordQuery);
  for (int other : {0, int{ProjectBox}, int{OutputBox}}) EXPECT_EQ(EnterKeyAction(other), K::None);
}

TEST(DispatchKeys, ModifierTakesShiftAsBitZeroAndCtrlAsBitOne) {
  EXPECT_EQ(CommandModifierFrom(false, false), 0);
  EXPECT_EQ(CommandModifierFrom(true, false), 1);
  EXPECT_EQ(CommandModifierFrom(false, true), 2);
  EXPECT_EQ(CommandModifierFrom(true, true), 3);
}

TEST(DispatchPending, RelayoutIsTakenOnceAndOtherValuesAreOnlyCleared) {
  PendingAction = 1;
  EXPECT_TRUE(TakeRelayoutRequest());
  EXPECT_EQ(PendingAction, 0);
  EXPECT_FALSE(TakeRelayoutRequest());
  PendingAction = 7;
  EXPECT_FALSE(TakeRelayoutRequest());
  EXPECT_EQ(PendingAction, 0);
}

}  // namespace
