// The built compiler library zorvex.dll, loaded the way the IDE loads it: zor_basis answers
// a query text by writing the listing file named in its directive before it returns.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "ScratchFolder.h"

namespace {

using Export = int(WINAPI*)(const void*);

class CompilerLibrary : public testing::Test {
 protected:
  void SetUp() override {
    library_ = LoadLibraryA("zorvex.dll");
    ASSERT_NE(library_, nullptr);
    basis_ = reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(library_, "zor_basis")));
    trend_ = reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(library_, "zor_trend")));
    ASSERT_NE(basis_, nullptr);
    ASSERT_NE(trend_, nullptr);
    listing_ = folder_.File("_.txt");
  }
  void TearDown() override {
    if (library_) FreeLibrary(library_);
  }
  std::string Directive(const char* kind, const std::string& word) {
    return std::string("\r\n#") + kind + " \"" + listing_ + "\" " + word + "\r\n";
  }

  ScratchFolder folder_;
  HMODULE library_ = nullptr;
  Export basis_ = nullptr;
  Export trend_ = nullptr;
  std::string listing_;
};

TEST_F(CompilerLibrary, ListingDirectiveWritesTheAnswerBeforeReturning) {
  trend_(reinterpret_cast<const void*>(9));
  std::string text = "dim total as int\r\n" + Directive("list", "total") + "total = total + 1\r\n";
  basis_(text.c_str());
  EXPECT_EQ(Slurp(listing_),
            "total: variable total as int, line 1\r\nline 1: dim total as int\r\nline 2: total = total + 1\r\n2 lines\r\n");
  text = "type point\r\n  x as int\r\nend type\r\n" + Directive("recordof", "point");
  basis_(text.c_str());
  EXPECT_EQ(Slurp(listing_), "type point\r\n  x as int\r\nend type\r\nline 1: type point\r\n");
}

TEST_F(CompilerLibrary, ATextWithoutADirectiveWritesNothing) {
  basis_("print 1\r\n");
  EXPECT_EQ(GetFileAttributesA(listing_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CompilerLibrary, HostileTextsAreAnsweredWithoutHarmAndKeepNoState) {
  std::string deep = "x = " + std::string(200000, '(') + "\r\n" + std::string(100000, '\x7f') + "/* open\r\n";
  std::string text = deep + Directive("list", "x");
  basis_(text.c_str());
  EXPECT_NE(Slurp(listing_).find("first error: line 1: expected a value"), std::string::npos);
  // The same query after another program gives the same answer: nothing is kept between calls.
  std::string a = "dim a as string\r\n" + Directive("list", "a");
  basis_(a.c_str());
  std::string first = Slurp(listing_);
  std::string b = "sub a()\r\nend sub\r\n" + Directive("list", "a");
  basis_(b.c_str());
  basis_(a.c_str());
  EXPECT_EQ(Slurp(listing_), first);
}

}  // namespace
