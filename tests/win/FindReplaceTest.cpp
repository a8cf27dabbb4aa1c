// Find and replace on a real Scintilla editor with real boxes: steps in both directions, the
// replacement of the selected occurrence, taking the selection, replace in selection and undo.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "TestControls.h"
#include "editor/CodePage_win.h"
#include "editor/EditorAccess_win.h"
#include "editor/FindReplace_win.h"
#include "Scintilla.h"

class FindReplace : public TestControls {
 protected:
  void SetUp() override {
    TestControls::SetUp();
    ASSERT_NE(editor, nullptr) << "lib/SciLexer.dll did not load";
    if (!findBox) {
      findBox = Box(200);
      replaceBox = Box(240);
    }
    saved_ = FinderBoxes[ReplaceBox];
    FinderBoxes[ReplaceBox] = replaceBox;
    SetControlText(findBox, "");
    SetControlText(replaceBox, "");
  }
  void TearDown() override {
    FinderBoxes[ReplaceBox] = saved_;
    TestControls::TearDown();
  }
  static HWND Box(int top) {
    return CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, top, 300, 30, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
  void Caret(size_t at) { SendMessageA(editor, EM_SETSEL, at, at); }
  int Find(const char* what, int flags = 0) {
    SetControlText(findBox, what);
    return FindStep(editor, findBox, flags, nullptr);
  }
  int FindAndReplace(const char* what, const char* with, int flags = 0) {
    SetControlText(findBox, what);
    SetControlText(replaceBox, with);
    return FindStep(editor, findBox, flags, replaceBox);
  }
  inline static HWND findBox = nullptr;
  inline static HWND replaceBox = nullptr;

 private:
  HWND saved_ = nullptr;
};

TEST_F(FindReplace, RepeatedFindsStepThroughEveryOccurrence) {
  SetControlText(editor, "- x1 X2 x3");
  Caret(0);
  EXPECT_EQ(Find("x"), 3);
  EXPECT_EQ(Selection(editor), std::make_pair(DWORD{2}, DWORD{3}));
  EXPECT_EQ(Find("x"), 6);  // the selection starts at an occurrence: the step goes past it
  EXPECT_EQ(Find("x"), 9);
  EXPECT_EQ(Find("x"), 0);  // after the last one nothing changes
  EXPECT_EQ(Selection(editor), std::make_pair(DWORD{8}, DWORD{9}));
  EXPECT_EQ(GetFocus(), editor);
  EXPECT_EQ(Find(""), 0);
}

TEST_F(FindReplace, BackwardFindsStartInsideAnOccurrenceThenMoveBack) {
  SetControlText(editor, "print x\r\nprint y");
  Caret(11);  // inside the second print
  EXPECT_EQ(Find("PRINT", FindBackward), 10);
  EXPECT_EQ(Find("PRINT", FindBackward), 1);
  EXPECT_EQ(Find("PRINT", FindBackward), 1);
}

TEST_F(FindReplace, FindAndReplaceReplacesTheSelectedOccurrenceAndSelectsTheNext) {
  SetControlText(editor, "a a");
  SendMessageA(editor, SCI_EMPTYUNDOBUFFER, 0, 0);
  Caret(0);
  EXPECT_EQ(FindAndReplace("a", "bb"), 4);
  EXPECT_EQ(GetControlText(editor), "bb a");
  EXPECT_EQ(Selection(editor), std::make_pair(DWORD{3}, DWORD{4}));
  EXPECT_EQ(FindAndReplace("a", "bb"), 0);
  EXPECT_EQ(GetControlText(editor), "bb bb");
  EXPECT_EQ(FindAndReplace("a", "bb"), 0);
  EditorUndo();  // each replacement is one step of its own
  EXPECT_EQ(GetControlText(editor), "bb a");
}

TEST_F(FindReplace, AReplacementInALongTextLeavesTheViewWhereItWas) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i) + " word\r\n";
  SetControlText(editor, text);
  SendMessageA(editor, SCI_GOTOLINE, 1500, 0);
  SendMessageA(editor, SCI_GOTOLINE, 1000, 0);
  const LRESULT top = SendMessageA(editor, SCI_GETFIRSTVISIBLELINE, 0, 0);
  ASSERT_GT(top, 900);
  Caret(text.find("word", text.find("line 1000 ")));
  EXPECT_GT(FindAndReplace("word", "WORD!"), 0);
  EXPECT_EQ(SendMessageA(editor, SCI_GETFIRSTVISIBLELINE, 0, 0), top);
  EditorUndo();
  EXPECT_EQ(GetControlText(editor), text);
  EXPECT_EQ(SendMessageA(editor, SCI_GETFIRSTVISIBLELINE, 0, 0), top);
}

TEST_F(FindReplace, CtrlTakesTheSelectionIntoTheBoxes) {
  SetControlText(editor, "dim total as int");
  SetControlText(replaceBox, "old");
  SendMessageA(editor, EM_SETSEL, 4, 9);
  EXPECT_EQ(Find("x", FindTakeSelection), -1);
  EXPECT_EQ(GetControlText(findBox), "total");
  EXPECT_EQ(GetControlText(replaceBox), "");  // the find step clears the replacement
  EXPECT_EQ(GetFocus(), findBox);
  EXPECT_EQ(Selection(editor), std::make_pair(DWORD{4}, DWORD{9}));
  EXPECT_EQ(FindAndReplace("x", "y", FindTakeSelection), -1);
  EXPECT_EQ(GetControlText(replaceBox), "total");
  EXPECT_EQ(GetFocus(), replaceBox);
  Caret(3);
  EXPECT_EQ(Find("kept", FindTakeSelection), -1);
  EXPECT_EQ(GetControlText(findBox), "kept");
  EXPECT_EQ(GetFocus(), findBox);
}

TEST_F(FindReplace, ReplaceInSelectionChangesOnlyTheSelectionAsOneStep) {
  const std::string text = "a a a | a a";
  SetControlText(editor, text);
  SendMessageA(editor, SCI_EMPTYUNDOBUFFER, 0, 0);
  SendMessageA(editor, EM_SETSEL, 0, 5);  // "a a a"
  SetControlText(findBox, "A");
  SetControlText(replaceBox, "bbb");
  EXPECT_EQ(ReplaceInSelection(editor, findBox, replaceBox), -1);
  EXPECT_EQ(GetControlText(editor), "bbb bbb bbb | a a");
  EXPECT_EQ(Selection(editor), std::make_pair(DWORD{0}, DWORD{11}));
  EditorUndo();
  EXPECT_EQ(GetControlText(editor), text);
  Caret(2);
  EXPECT_EQ(ReplaceInSelection(editor, findBox, replaceBox), 0);  // no selection: nothing
  EXPECT_EQ(GetControlText(editor), text);
}

// The boxes are ANSI windows: in a UTF-8 document their text is searched for, and put in the
// text, as UTF-8, and a selection taken into them comes back in the ANSI code page.
TEST_F(FindReplace, InAUtf8DocumentTheBoxesSpeakTheDocumentsCodePage) {
  UseDocumentCodePage(true);
  SetControlText(editor, "print \"Gr\xC3\xBC\xC3\x9F" "e\" ' gr\xC3\xBC\xC3\x9F" "e \xCE\xA9");
  Caret(0);
  EXPECT_EQ(Find("GR\xFC\xDF" "E"), 8);  // Grüße typed in Windows-1252; A to Z fold, ü and ß match exactly
  EXPECT_EQ(Selection(editor), std::make_pair(DWORD{7}, DWORD{14}));
  EXPECT_EQ(FindAndReplace("gr\xFC\xDF" "e", "\x80"), 15);  // € in its place; the next one selected
  EXPECT_EQ(GetControlText(editor), "print \"\xE2\x82\xAC\" ' gr\xC3\xBC\xC3\x9F" "e \xCE\xA9");
  EXPECT_EQ(Selection(editor), std::make_pair(DWORD{14}, DWORD{21}));
  EXPECT_EQ(FindStep(editor, findBox, FindTakeSelection, replaceBox), -1);
  EXPECT_EQ(GetControlText(findBox), "gr\xFC\xDF" "e");
  EXPECT_EQ(GetControlText(replaceBox), "gr\xFC\xDF" "e");
  SendMessageA(editor, EM_SETSEL, 22, 24);  // Ω, which Windows-1252 lacks
  FindStep(editor, findBox, FindTakeSelection, nullptr);
  EXPECT_EQ(GetControlText(findBox), "?");
  SendMessageA(editor, EM_SETSEL, 0, 100);
  SetControlText(findBox, "\x80");
  SetControlText(replaceBox, "EUR");
  EXPECT_EQ(ReplaceInSelection(editor, findBox, replaceBox), -1);
  EXPECT_EQ(GetControlText(editor), "print \"EUR\" ' gr\xC3\xBC\xC3\x9F" "e \xCE\xA9");
  UseDocumentCodePage(false);
  SetControlText(editor, "' Gr\xFC\xDF" "e");
  Caret(0);
  EXPECT_EQ(Find("\xFC"), 5) << "in an ANSI document the box's bytes are searched as they are";
}
