// The built compiler library zorvex.dll, loaded the way the IDE loads it: zor_basis answers
// a query text by writing the listing file named in its directive before it returns.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "ScratchFolder.h"

namespace {

using Export = int(WINAPI*)(const void*);

std::string Repeat(const std::string& s, int n) {
  std::string r;
  r.reserve(s.size() * static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) r += s;
  return r;
}

// The stack reservation ZorvexIde.exe is linked with: the stack of the IDE's own thread, on
// which it calls zor_basis. 0 when the file cannot be read.
uint32_t IdeStackReserve() {
  std::string exe = Slurp("..\\dist\\ZorvexIde.exe");
  uint32_t pe = 0, reserve = 0;
  if (exe.size() < 0x40) return 0;
  std::memcpy(&pe, exe.data() + 0x3C, 4);
  if (exe.size() < pe + 24 + 76 || exe.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return 0;
  std::memcpy(&reserve, exe.data() + pe + 24 + 72, 4);  // SizeOfStackReserve of the PE32 header
  return reserve;
}

// A query made on a thread with the IDE's stack, measuring how deep into the stack it went.
struct StackQuery {
  Export basis;
  std::string text;
  size_t marked = 0;  // bytes of the stack marked below the thread's start
  size_t used = 0;
};

// Marks the stack below the caller, so what a later call overwrites shows how deep it went.
__attribute__((noinline)) uintptr_t MarkStack(size_t bytes) {
  char* p = static_cast<char*>(__builtin_alloca(bytes));
  std::memset(p, 0x5A, bytes);
  asm volatile("" : : "r"(p) : "memory");
  return reinterpret_cast<uintptr_t>(p);
}

DWORD WINAPI QueryOnIdeStack(void* arg) {
  StackQuery& q = *static_cast<StackQuery*>(arg);
  char top = 0;
  const char* low = reinterpret_cast<const char*>(MarkStack(q.marked));
  q.basis(q.text.c_str());
  const char* p = low;
  while (p < low + q.marked && *p == 0x5A) ++p;
  q.used = reinterpret_cast<uintptr_t>(&top) - reinterpret_cast<uintptr_t>(p);
  return 0;
}

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

// zor_basis is called on the IDE's thread, whose stack is far smaller than the tools' own: the
// deepest sources the language accepts, constants of every kind among them, are answered in
// full, deeper or hostile ones with a one-line error, and none takes the IDE down. The test
// prints how much of the caller's stack the deepest query took.
TEST_F(CompilerLibrary, TheDeepestSourcesAreAnsweredWhenCalledOnTheIdesStack) {
  const uint32_t reserve = IdeStackReserve();
  ASSERT_GT(reserve, 0u);
  const struct {
    const char* what;
    std::string source;
    const char* error;  // the answer's error line, or null for an answer without one
  } cases[] = {
      {"1,000 nested blocks", "x = 1\r\n" + Repeat("if x then\r\n", 1000) + Repeat("end if\r\n", 1000), nullptr},
      {"10,000 operators", "x = 1" + Repeat(" + 1", 10000) + "\r\n", nullptr},
      {"10,000 operators in nested parentheses", "x = " + Repeat("(", 10000) + "1" + Repeat(" * 2)", 10000) + "\r\n", nullptr},
      {"10,000 nested calls", "x = " + Repeat("abs(", 10000) + "1" + Repeat(")", 10000) + "\r\n", nullptr},
      {"a constant of 10,000 operators", "const y = 1" + Repeat(" - 1", 10000) + "\r\nx = y\r\n", nullptr},
      {"an integer constant of 10,000 operators past 64 bits", "const y = 9223372036854775807" + Repeat(" + 1", 10000) + "\r\nx = y\r\n", nullptr},
      {"a float constant of 10,000 operators", "const y = 0.5" + Repeat(" * 1.5", 10000) + "\r\nx = y\r\n", nullptr},
      {"a constant of 10,000 float comparisons", "const y = 1.5" + Repeat(" < 1.5", 10000) + "\r\nx = y\r\n", nullptr},
      {"a constant of 10,000 signs", "const y = " + Repeat("-", 10000) + "1.5\r\nx = y\r\n", nullptr},
      {"a bool constant of 10,000 nots", "const y = " + Repeat("not ", 10000) + "true\r\nx = y\r\n", nullptr},
      {"a constant of 10,000 nested abs", "const y = " + Repeat("abs(", 10000) + "1.5" + Repeat(")", 10000) + "\r\nx = y\r\n", nullptr},
      {"a string constant of 10,000 joins", "const y = \"a\"" + Repeat(" + \"a\"", 10000) + "\r\nx = len(y)\r\n", nullptr},
      {"a string constant of 10,000 numbers joined", "const y = \"n\"" + Repeat(" & 1.5", 10000) + "\r\nx = len(y)\r\n", nullptr},
      {"a string constant of 10,000 nested functions", "const y = " + Repeat("ucase(", 10000) + "\"a\"" + Repeat(")", 10000) + "\r\nx = len(y)\r\n", nullptr},
      {"100,000 nested parentheses", "x = " + Repeat("(", 100000) + "1" + Repeat(")", 100000) + "\r\n", nullptr},
      {"1,001 nested blocks", "x = 1\r\n" + Repeat("if x then\r\n", 1001) + Repeat("end if\r\n", 1001),
       "first error: line 1002: blocks nested too deeply"},
      {"10,001 operators", "x = 1" + Repeat(" + 1", 10001) + "\r\n", "first error: line 1: expression too long"},
      {"a 10 MB line", "x = 1" + Repeat(" + 1", 2'500'000) + "\r\n", "only the lines that declare names were checked"},
      {"binary bytes", "x = 1\r\n" + Repeat("\x01\x7f\xfe\xff(", 50000) + "\r\n", "first error: line 2"},
  };
  size_t deepest = 0;
  for (const auto& c : cases) {
    StackQuery q{basis_, c.source + Directive("list", "x"), reserve - 192 * 1024};
    HANDLE thread = CreateThread(nullptr, reserve, QueryOnIdeStack, &q, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    std::string answer = Slurp(listing_);
    EXPECT_NE(answer.find(": x = "), std::string::npos) << c.what << ": " << answer.substr(0, 200);
    if (c.error) {
      EXPECT_NE(answer.find(c.error), std::string::npos) << c.what << ": " << answer.substr(answer.size() > 300 ? answer.size() - 300 : 0);
    } else {
      EXPECT_EQ(answer.find("first error"), std::string::npos) << c.what << ": " << answer.substr(answer.size() > 300 ? answer.size() - 300 : 0);
    }
    deepest = std::max(deepest, q.used);
  }
  std::printf("the deepest query used %u KB of the IDE's %u KB stack\n", static_cast<unsigned>(deepest / 1024),
              static_cast<unsigned>(reserve / 1024));
  // The deepest accepted source keeps well clear of the end of the caller's stack.
  EXPECT_LT(deepest + 256 * 1024, reserve);
}

}  // namespace

