// The control access operations against a real Scintilla editor and a real edit box.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "TestControls.h"
#include "editor/EditorAccess_win.h"
#include "Scintilla.h"

using namespace std::string_literals;

class EditorAccess : public TestControls {
 protected:
  void SetUp() override {
    TestControls::SetUp();
    ASSERT_NE(editor, nullptr) << "lib/SciLexer.dll did not load";
  }
  LRESULT Sci(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(editor, message, wParam, lParam);
  }
  int CaretLine() { return static_cast<int>(Sci(SCI_LINEFROMPOSITION, Sci(SCI_GETCURRENTPOS))); }
};

TEST_F(EditorAccess, EmptyControlsGiveEmptyText) {
  EXPECT_EQ(GetControlText(editor), "");
  EXPECT_EQ(GetControlText(box), "");
}

TEST_F(EditorAccess, LineBreaksRoundTripUnchanged) {
  const std::string text = "first\r\nsecond\r\n\r\nlast line without break\nlone LF\rlone CR";
  SetControlText(editor, text);
  EXPECT_EQ(GetControlText(editor), text);
  const std::string boxText = "one\r\ntwo\r\n";
  SetControlText(box, boxText);
  EXPECT_EQ(GetControlText(box), boxText);
}

TEST_F(EditorAccess, EditorKeepsEveryByteIncludingNuls) {
  const std::string text = "a\0b\r\n\0\0end\xff\x80"s;
  SetControlText(editor, text);
  EXPECT_EQ(Sci(SCI_GETTEXTLENGTH), static_cast<LRESULT>(text.size()));
  EXPECT_EQ(GetControlText(editor), text);
  SetControlText(editor, "\0"s);
  EXPECT_EQ(GetControlText(editor), "\0"s);
}

TEST_F(EditorAccess, ReplacingTheEditorTextIsOneUndoStep) {
  SetControlText(editor, "before");
  Sci(SCI_EMPTYUNDOBUFFER);
  SetControlText(editor, "after\0with NUL"s);
  EXPECT_EQ(Sci(SCI_GETCURRENTPOS), 0);
  EditorUndo();
  EXPECT_EQ(GetControlText(editor), "before");
}

TEST_F(EditorAccess, ReplacingTheTextChangesOnlyWhereItDiffers) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "line " + std::to_string(i) + "\r\n";
  SetControlText(editor, text);
  Sci(SCI_EMPTYUNDOBUFFER);
  Sci(SCI_GOTOLINE, 2500);
  Sci(SCI_GOTOLINE, 2000);
  const LRESULT top = Sci(SCI_GETFIRSTVISIBLELINE);
  ASSERT_GT(top, 1900);
  std::string changed = text;
  changed.insert(text.find("line 2001"), "2026-12-09T10:00:00");
  SetControlText(editor, changed);
  EXPECT_EQ(GetControlText(editor), changed);
  EXPECT_EQ(Sci(SCI_GETFIRSTVISIBLELINE), top);
  EditorUndo();  // one step back, and the view stays where the change was
  EXPECT_EQ(GetControlText(editor), text);
  EXPECT_EQ(Sci(SCI_GETFIRSTVISIBLELINE), top);
}

TEST_F(EditorAccess, BoxTextEndsAtANulAsEditControlsDo) {
  SetControlText(box, "ab\0cd"s);
  EXPECT_EQ(GetControlText(box), "ab");
}

TEST_F(EditorAccess, FocusSelectAllSelectsTheWholeText) {
  FocusSelectAll(box);
  EXPECT_EQ(GetFocus(), box);
  EXPECT_EQ(Selection(box), std::make_pair(DWORD{0}, DWORD{0}));
  SetControlText(box, "find me");
  FocusSelectAll(box);
  EXPECT_EQ(Selection(box), std::make_pair(DWORD{0}, DWORD{7}));
  SetControlText(editor, "line\r\nline");
  FocusSelectAll(editor);
  EXPECT_EQ(GetFocus(), editor);
  EXPECT_EQ(Sci(SCI_GETSELECTIONSTART), 0);
  EXPECT_EQ(Sci(SCI_GETSELECTIONEND), 10);
}

TEST_F(EditorAccess, ApplyFontGivesOneFontToTheFirstCountControls) {
  HWND controls[] = {box, editor, button};
  HFONT font = ApplyFont(controls, 2, 13, 9, 400, "Lucida console");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)), font);
  EXPECT_NE(reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)), font);
  LOGFONTA described{};
  ASSERT_NE(GetObjectA(font, sizeof described, &described), 0);
  EXPECT_EQ(described.lfHeight, 13);
  EXPECT_EQ(described.lfWidth, 9);
  EXPECT_EQ(described.lfWeight, 400);
  EXPECT_STREQ(described.lfFaceName, "Lucida console");
  SendMessageA(box, WM_SETFONT, 0, 0);
  DeleteObject(font);
}

TEST_F(EditorAccess, ShowLineNumberWritesTheCaretLine) {
  SetControlText(editor, "one\r\ntwo\r\nthree\r\nfour");
  Sci(SCI_GOTOPOS, 12);  // inside "three"
  ShowLineNumber(editor, box);
  EXPECT_EQ(GetControlText(box), "3");
  Sci(SCI_GOTOPOS, 0);
  ShowLineNumber(editor, box);
  EXPECT_EQ(GetControlText(box), "1");
}

TEST_F(EditorAccess, GoToLineFromBoxMovesOnlyForANumber) {
  std::string text;
  for (int line = 1; line <= 30; ++line) text += "line " + std::to_string(line) + "\r\n";
  SetControlText(editor, text);
  struct Case { const char* boxText; int line; };  // expected 0-based caret line afterwards
  const Case cases[] = {{"12", 11}, {"abc", 11}, {"", 11}, {"  3", 2}, {"0", 2}, {"-4", 2}, {"6.5", 5}};
  for (const Case& c : cases) {
    SetFocus(box);
    SetControlText(box, c.boxText);
    GoToLineFromBox(editor, box);
    EXPECT_EQ(CaretLine(), c.line) << c.boxText;
    EXPECT_EQ(GetFocus(), editor) << c.boxText;
  }
}

TEST_F(EditorAccess, GoToLineInAPlainEditorUsesEditMessages) {
  Editor = nullptr;
  CurrentEditor = box;
  SetControlText(box, "a\r\nbb\r\nccc\r\n");
  GoToLine(box, 3);
  EXPECT_EQ(Selection(box), std::make_pair(DWORD{7}, DWORD{7}));
  EXPECT_EQ(GetFocus(), box);
  GoToLine(box, 99);  // beyond the end: the end of the text
  EXPECT_EQ(Selection(box), std::make_pair(DWORD{12}, DWORD{12}));
}

TEST_F(EditorAccess, CutAndPasteWorkOnTheEditorAndNotOnABox) {
  SetControlText(editor, "keep CUT keep");
  Sci(SCI_SETSEL, 5, 8);
  EditorCut();
  EXPECT_EQ(GetControlText(editor), "keep  keep");
  Sci(SCI_GOTOPOS, 0);
  EditorPaste();
  EXPECT_EQ(GetControlText(editor), "CUTkeep  keep");
  EditorUndo();
  EXPECT_EQ(GetControlText(editor), "keep  keep");

  CurrentEditor = box;
  SetControlText(box, "box text");
  SendMessageA(box, EM_SETSEL, 0, 3);
  EditorCut();
  EditorCopy();
  EditorPaste();
  EXPECT_EQ(GetControlText(box), "box text");
}
