// The filter list, name buffer and titles of the file dialogs.
#include <gtest/gtest.h>
#include "documents/FileDialogText.h"

using namespace std::string_literals;

TEST(FileDialogText, DefaultFilterListHasFivePairsEndedByTwoZeros) {
  EXPECT_EQ(DefaultFilterList(),
            "all files\0*.*\0text\0*.txt\0basic\0*.bas;*.q9bas\0include\0*.inc\0header\0*.h\0\0"s);
}

TEST(FileDialogText, NameBufferHoldsNamesThatLeaveRoomForTheZero) {
  struct Case { size_t length; bool copied; };
  for (Case c : {Case{0, false}, Case{1, true}, Case{254, true}, Case{255, true}, Case{256, false}, Case{900, false}}) {
    std::string name(c.length, 'a');
    std::string buffer = DialogNameBuffer(name);
    ASSERT_EQ(buffer.size(), static_cast<size_t>(DialogNameSize)) << c.length;
    EXPECT_EQ(NameFromBuffer(buffer), c.copied ? name : "") << c.length;
    EXPECT_EQ(buffer.back(), '\0') << c.length;
  }
}

TEST(FileDialogText, NameEndsAtTheFirstZeroByte) {
  EXPECT_EQ(NameFromBuffer("C:\\a.bas\0junk\0"s), "C:\\a.bas");
  EXPECT_EQ(NameFromBuffer("no zero"), "no zero");
}

