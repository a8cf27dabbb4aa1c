// The editing aids on a real Scintilla editor: what the IDE adds as the user types is undone
// apart from the typing, and a comment toggle is one undo step that keeps the selection.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "TestControls.h"
#include "editor/EditorAccess_win.h"
#include "editor/Editing_win.h"
#include "Scintilla.h"
#include "scilexer/ZorvexStyles.h"

class Editing : public TestControls {
 protected:
  void SetUp() override {
    TestControls::SetUp();
    ASSERT_NE(editor, nullptr) << "lib/SciLexer.dll did not load";
    Sci(SCI_SETEOLMODE, 0);  // CR LF, as on Windows
  }
  LRESULT Sci(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(editor, message, wParam, lParam);
  }
  // Types the characters as the keyboard does, each followed by the editor's notification.
  void Type(const std::string& keys) {
    for (char key : keys) {
      if (key == '\n') {
        Sci(SCI_NEWLINE);
        EditorCharAdded('\r');
        EditorCharAdded('\n');
      } else {
        SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(key), 0);
        EditorCharAdded(key);
      }
    }
  }
  LRESULT Caret() { return Sci(SCI_GETCURRENTPOS); }
};

TEST_F(Editing, OneUndoTakesBackTheIndentationAndKeepsTheLineBreak) {
  SetControlText(editor, "sub a()\r\n  for i = 1 to 3\r\n    print i");
  Sci(SCI_EMPTYUNDOBUFFER);
  Sci(SCI_GOTOPOS, Sci(SCI_GETLENGTH));
  Type("\nnext ");
  EXPECT_EQ(GetControlText(editor), "sub a()\r\n  for i = 1 to 3\r\n    print i\r\n  next ");
  EXPECT_EQ(Caret(), Sci(SCI_GETLENGTH));
  EditorUndo();  // the closer back where the line break put it
  EXPECT_EQ(GetControlText(editor), "sub a()\r\n  for i = 1 to 3\r\n    print i\r\n    next ");
  EditorUndo();  // the typed word
  EditorUndo();  // the indentation added on Enter
  EXPECT_EQ(GetControlText(editor), "sub a()\r\n  for i = 1 to 3\r\n    print i\r\n");
  EditorUndo();
  EXPECT_EQ(GetControlText(editor), "sub a()\r\n  for i = 1 to 3\r\n    print i");
}

TEST_F(Editing, CommentToggleIsOneUndoStepAndKeepsTheLinesSelected) {
  const std::string text = "sub a()\r\n  print 1\r\nend sub\r\n";
  SetControlText(editor, text);
  Sci(SCI_EMPTYUNDOBUFFER);
  Sci(SCI_SETSEL, 2, Sci(SCI_POSITIONFROMLINE, 2));  // from inside line 1 to the start of line 3
  ToggleLineComments(false);
  EXPECT_EQ(GetControlText(editor), "' sub a()\r\n'   print 1\r\nend sub\r\n");
  EXPECT_EQ(Sci(SCI_GETANCHOR), 4);
  EXPECT_EQ(Sci(SCI_GETCURRENTPOS), Sci(SCI_POSITIONFROMLINE, 2));
  ToggleLineComments(false);
  EXPECT_EQ(GetControlText(editor), text);
  ToggleLineComments(false);
  EditorUndo();
  EXPECT_EQ(GetControlText(editor), text);
}

TEST_F(Editing, TabShiftsTheSelectedLinesAndLeavesOneLineToTheEditor) {
  SetControlText(editor, "a\r\nb\r\nc");
  Sci(SCI_SETSEL, 0, 1);
  EXPECT_FALSE(IndentSelectedLines(false));
  Sci(SCI_SETSEL, 0, Sci(SCI_POSITIONFROMLINE, 1) + 1);
  EXPECT_TRUE(IndentSelectedLines(false));
  EXPECT_EQ(GetControlText(editor), "  a\r\n  b\r\nc");
  EXPECT_TRUE(IndentSelectedLines(true));
  EXPECT_EQ(GetControlText(editor), "a\r\nb\r\nc");
}

TEST_F(Editing, TheCaretOnABlockWordMarksItsBlockUntilItLeaves) {
  SetControlText(editor, "for i = 1 to 2\r\n  x = i\r\nnext\r\n");
  const LRESULT next = Sci(SCI_POSITIONFROMLINE, 2);
  auto marked = [&](LRESULT position) { return Sci(SCI_INDICATORVALUEAT, INDICATOR_CONTAINER, position) != 0; };
  Sci(SCI_GOTOPOS, 1);
  EditorUpdateUi(false, true);
  EXPECT_TRUE(marked(0) && marked(2) && marked(next) && marked(next + 3));
  EXPECT_FALSE(marked(3) || marked(next - 3) || marked(next + 4));
  Sci(SCI_GOTOPOS, next - 2);
  EditorUpdateUi(false, true);
  EXPECT_FALSE(marked(0) || marked(next));
}

TEST_F(Editing, AnOpenerInsideACommentOverSeveralLinesAddsNoStep) {
  Sci(SetLexerMessage, ZorvexLexerNumber);
  SetControlText(editor, "/* notes\r\n  for each word");
  Sci(SCI_GOTOPOS, Sci(SCI_GETLENGTH));
  Type("\n");
  EXPECT_EQ(GetControlText(editor), "/* notes\r\n  for each word\r\n  ");
  Sci(SetLexerMessage, 1);  // the other tests' editor has no lexer
}
