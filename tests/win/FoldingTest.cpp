// Folding in the set-up editor under Wine: the fold margin, the fold commands and clicks, the
// jumps that unfold their target, and the line-number margin that follows the text.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <string>
#include "EditingComponent.h"
#include "Scintilla.h"
#include "base/SharedState.h"
#include "editor/EditorAccess_win.h"
#include "editor/EditorSetup_win.h"
#include "editor/Folding_win.h"

namespace {

const char Source[] =
    "sub a\r\n"              // 0
    "  for i = 1 to 3\r\n"   // 1
    "    print i\r\n"        // 2
    "  next\r\n"             // 3
    "end sub\r\n"            // 4
    "sub b\r\n"              // 5
    "  x = 1\r\n"            // 6
    "end sub\r\n";           // 7

class Folding : public testing::Test {
 protected:
  static void SetUpTestSuite() { parent = ControlsWindow("folding tests", 640, 480, false); }
  static void TearDownTestSuite() { DestroyWindow(parent); }
  void SetUp() override {
    ASSERT_NE(EditingComponent(), nullptr) << "lib/SciLexer.dll does not load";
    Editor = CurrentEditor = NewEditingControl(parent);
    ASSERT_NE(Editor, nullptr);
    ConfigureEditor(Editor, "sub end for next print", "Courier New", 10);
    Load(Source);
  }
  void TearDown() override {
    DestroyWindow(Editor);
    Editor = CurrentEditor = nullptr;
  }

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageA(Editor, message, wParam, lParam); }
  // Loads text and colours it, as painting the editor would.
  void Load(const std::string& text) {
    ASSERT_EQ(LoadControlText(Editor, text), LoadResult::Whole);
    Send(SCI_COLOURISE, 0, -1);
  }
  size_t LineStart(int line) { return static_cast<size_t>(Send(SCI_POSITIONFROMLINE, line)); }
  LRESULT CaretLine() { return Send(SCI_LINEFROMPOSITION, Send(SCI_GETCURRENTPOS)); }
  // The lines that show, as a string of their numbers: "058".
  std::string ShownLines() {
    std::string shown;
    for (int line = 0; line < 8; ++line)
      if (Send(SCI_GETLINEVISIBLE, line)) shown += std::to_string(line);
    return shown;
  }
  LRESULT MarginWidth() { return Send(SCI_GETMARGINWIDTHN, 0); }
  LRESULT NumberWidth(const char* text) { return Send(SCI_TEXTWIDTH, 33, reinterpret_cast<LPARAM>(text)); }

  inline static HWND parent = nullptr;
};


}  // namespace

TEST_F(Folding, TheFoldMarginShowsFoldPointsAndFoldsFollowTheText) {
  EXPECT_EQ(Send(SCI_GETMARGINTYPEN, FoldMargin), 0);  // symbols
  EXPECT_EQ(static_cast<unsigned>(Send(SCI_GETMARGINMASKN, FoldMargin)), 0xFE000000u);
  EXPECT_EQ(static_cast<unsigned>(Send(SCI_GETMARGINMASKN, MarkMargin)), ~0xFE000000u);  // every other marker
  EXPECT_GT(Send(SCI_GETMARGINWIDTHN, FoldMargin), 0);
  EXPECT_EQ(Send(SCI_GETMARGINSENSITIVEN, FoldMargin), 1);
  EXPECT_EQ(Send(SCI_GETAUTOMATICFOLD), 0x0001 | 0x0004);
  // Folded, then the line that opens the block is edited into a plain statement: the block's
  // lines show again.
  Send(SCI_GOTOLINE, 6);
  ToggleFoldAtCaret();
  EXPECT_EQ(ShownLines(), "012345");
  ReplaceRange(Editor, LineStart(5), LineStart(5) + 5, "x = 2");
  Send(SCI_COLOURISE, 0, -1);
  EXPECT_EQ(ShownLines(), "01234567");
}

TEST_F(Folding, TheFoldCommandsFoldAndUnfoldAndNeverHideTheCaret) {
  Send(SCI_GOTOLINE, 2);
  ToggleFoldAtCaret();  // the loop around the caret
  EXPECT_EQ(ShownLines(), "014567");
  EXPECT_EQ(CaretLine(), 1);
  ToggleFoldAtCaret();  // on the fold point itself: unfolds it again
  EXPECT_EQ(ShownLines(), "01234567");

  Send(SCI_GOTOLINE, 2);
  FoldAll();
  EXPECT_EQ(ShownLines(), "05");
  EXPECT_EQ(CaretLine(), 0);
  EXPECT_EQ(Send(SCI_GETFOLDEXPANDED, 1), 0) << "inner blocks fold too";
  UnfoldAll();
  EXPECT_EQ(ShownLines(), "01234567");
  EXPECT_EQ(Send(SCI_GETFOLDEXPANDED, 1), 1);
}

TEST_F(Folding, AClickInTheFoldMarginTogglesTheFoldPointOfItsLine) {
  EditorMarginClick(FoldMargin, LineStart(5) + 2);
  EXPECT_EQ(ShownLines(), "012345");
  EditorMarginClick(0, LineStart(0));      // the line numbers
  EditorMarginClick(FoldMargin, LineStart(2));  // no fold point there
  EXPECT_EQ(ShownLines(), "012345");
  EditorMarginClick(FoldMargin, LineStart(5));
  EXPECT_EQ(ShownLines(), "01234567");
}

TEST_F(Folding, GoingToALineOrShowingAFindUnfoldsWhatHidesIt) {
  FoldAll();
  GoToLine(Editor, 3);  // 1-based: the line "print i"
  EXPECT_EQ(CaretLine(), 2);
  EXPECT_EQ(ShownLines(), "012345") << "both blocks around it unfold, the other sub stays folded";
  FoldAll();
  SelectAndShow(Editor, LineStart(6) + 2, LineStart(6) + 3);
  EXPECT_EQ(CaretLine(), 6);
  EXPECT_EQ(ShownLines(), "0567");
}

TEST_F(Folding, TheLineNumberMarginIsAsWideAsTheLargestNumberNeeds) {
  EXPECT_EQ(MarginWidth(), 30) << "a short file keeps the set-up width";
  std::string lines;
  for (int i = 0; i < 120000; ++i) lines += "x\r\n";
  Load(lines);
  EXPECT_EQ(Send(SCI_GETLINECOUNT), 120001);
  EXPECT_EQ(MarginWidth(), std::max<LRESULT>(30, NumberWidth("_999999")));
  EXPECT_GT(NumberWidth("_999999"), NumberWidth("_99999"));
  // Shrinks as the text does.
  ReplaceRange(Editor, 0, LineStart(119990), "");
  UpdateLineNumberWidth();
  EXPECT_EQ(MarginWidth(), std::max<LRESULT>(30, NumberWidth("_99")));
}

namespace {
int TextChangesTold = 0, OtherChangesTold = 0;
WNDPROC ParentProc = nullptr;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == 2008 /* SCN_MODIFIED */) {
    // modificationType follows position and ch, modifiers in the notification block.
    const auto* block = reinterpret_cast<const char*>(lParam) + sizeof(NMHDR) + sizeof(intptr_t) + 2 * sizeof(int);
    const int type = *reinterpret_cast<const int*>(block);
    ++((type & 0x3) ? TextChangesTold : OtherChangesTold);  // SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT
  }
  return CallWindowProcA(ParentProc, window, message, wParam, lParam);
}
}  // namespace

// Styling, the matching marks (indicators) and the markers send no notification; text changes,
// their undo and redo do.
TEST_F(Folding, TheEditorTellsItsParentOfTextChangesOnly) {
  ParentProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
  TextChangesTold = OtherChangesTold = 0;
  Send(SCI_CLEARDOCUMENTSTYLE);
  Send(SCI_COLOURISE, 0, -1);
  Send(SCI_SETINDICATORCURRENT, 8);
  Send(SCI_INDICATORFILLRANGE, 0, 10);
  Send(SCI_MARKERADD, 1, 2);
  EXPECT_EQ(TextChangesTold + OtherChangesTold, 0);
  Send(SCI_INSERTTEXT, 0, reinterpret_cast<LPARAM>("x"));
  Send(SCI_UNDO);
  EXPECT_EQ(TextChangesTold, 2);
  EXPECT_EQ(OtherChangesTold, 0);
  SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ParentProc));
}
