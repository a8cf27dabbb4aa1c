// Ctrl+T: the time stamp replaces the selection of the focused editor or edit box.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "TestControls.h"
#include "documents/TimeStamps_win.h"
#include "editor/EditorAccess_win.h"

namespace {

// True when text holds a stamp of the form 2024-03-05T07:08:09 at the 0-based offset.
bool HoldsStampAt(const std::string& text, size_t offset) {
  if (text.size() < offset + 19) return false;
  const std::string pattern = "dddd-dd-ddTdd:dd:dd";
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = text[offset + i];
    if (pattern[i] == 'd' ? (c < '0' || c > '9') : c != pattern[i]) return false;
  }
  return true;
}

}  // namespace

class TimeStampInsertion : public TestControls {};

TEST_F(TimeStampInsertion, CurrentStampHasMillisecondsAndLocalDate) {
  std::string stamp = TimeStamp();
  ASSERT_EQ(stamp.size(), 23u);
  EXPECT_TRUE(HoldsStampAt(stamp, 0)) << stamp;
  EXPECT_EQ(stamp[19], '.');
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(stamp.substr(0, 4), std::to_string(now.wYear));
}

TEST_F(TimeStampInsertion, EmptyEditorGetsStampAndCaretBehindIt) {
  ASSERT_NE(editor, nullptr) << "lib/SciLexer.dll did not load";
  SetFocus(editor);
  InsertTimeStamp();
  std::string text = GetControlText(editor);
  EXPECT_EQ(text.size(), 19u);
  EXPECT_TRUE(HoldsStampAt(text, 0)) << text;
  EXPECT_EQ(Selection(editor), std::make_pair(DWORD{19}, DWORD{19}));
}

TEST_F(TimeStampInsertion, SelectionInTheEditorIsReplaced) {
  ASSERT_NE(editor, nullptr) << "lib/SciLexer.dll did not load";
  SetControlText(editor, "ab\r\nSELECTED\r\ncd");
  SetFocus(editor);
  SendMessageA(editor, EM_SETSEL, 4, 12);
  InsertTimeStamp();
  std::string text = GetControlText(editor);
  ASSERT_EQ(text.size(), 4u + 19u + 4u);
  EXPECT_EQ(text.substr(0, 4), "ab\r\n");
  EXPECT_TRUE(HoldsStampAt(text, 4)) << text;
  EXPECT_EQ(text.substr(23), "\r\ncd");
  EXPECT_EQ(Selection(editor), std::make_pair(DWORD{23}, DWORD{23}));
}

TEST_F(TimeStampInsertion, CaretInABoxInsertsThere) {
  SetControlText(box, "find this");
  SetFocus(box);
  SendMessageA(box, EM_SETSEL, 5, 5);
  InsertTimeStamp();
  std::string text = GetControlText(box);
  EXPECT_EQ(text.substr(0, 5), "find ");
  EXPECT_TRUE(HoldsStampAt(text, 5)) << text;
  EXPECT_EQ(text.substr(24), "this");
  EXPECT_EQ(Selection(box), std::make_pair(DWORD{24}, DWORD{24}));
}

TEST_F(TimeStampInsertion, FocusOnAButtonChangesNothing) {
  SetWindowTextA(button, "OK");
  SetFocus(button);
  ASSERT_EQ(GetFocus(), button);
  InsertTimeStamp();
  EXPECT_EQ(TextOf(button), "OK");
}
