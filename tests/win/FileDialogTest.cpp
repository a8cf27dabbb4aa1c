// The Open and Save As dialogs, answered by the test as a user would.
#include <gtest/gtest.h>
#include "DialogAnswer.h"
#include "documents/FileDialog.h"

namespace {
const std::vector<std::string> DefaultFilters = {"all files", "text", "basic", "include", "header"};
}

TEST(FileDialog, CancelGivesAnEmptyNameAndTheTitleNamesTheMode) {
  struct Case { bool saveMode; const char* title; };
  for (Case c : {Case{false, "Load File"}, Case{true, "Save File as"}}) {
    DialogAnswer answer({CancelDialog()});
    EXPECT_EQ(FileDialog("", c.saveMode, ""), "");
    EXPECT_TRUE(answer.Complete());
    SeenDialog seen = answer.At(0);
    EXPECT_EQ(seen.title, c.title);
    EXPECT_EQ(seen.filters, DefaultFilters);
    EXPECT_EQ(seen.filterSelection, 0);
  }
}

TEST(FileDialog, TypedNameWithoutExtensionComesBackUnchanged) {
  char folder[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, folder);
  std::string name = std::string(folder) + "\\fresh_name_without_ext";
  DeleteFileA(name.c_str());
  DialogAnswer answer({ChooseFile(name)});
  EXPECT_EQ(FileDialog("", true, ""), name);
  EXPECT_TRUE(answer.Complete());
}

TEST(FileDialog, OverlongInitialNameStartsWithAnEmptyField) {
  for (size_t length : {255u, 256u, 600u}) {
    std::string name(length - 6, 'n');
    name += ".zobas";
    DialogAnswer answer({CancelDialog()});
    EXPECT_EQ(FileDialog(name, true, ""), "");
    EXPECT_TRUE(answer.Complete()) << length;
    EXPECT_EQ(answer.At(0).fileName, length < 256 ? name : "") << length;
  }
}
