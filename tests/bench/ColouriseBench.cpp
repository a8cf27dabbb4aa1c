// Benchmark: builds a 10 MB Zorvex Basic source, loads it into the editing control set up as the
// IDE sets it up and colours and folds all of it, printing the times next to the time of one
// plain copy of the same text. Run from the program folder.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/EditorSetup_win.h"
#include "tests/win/EditingComponent.h"
#include "Scintilla.h"

namespace {

const char Keywords[] =
    "\r\n#define #ELSE #ENDIF #IF #INCLUDE #pragma\r\n"
    "abs and as byte call case COS dim do double dword else end endif exit for function if int "
    "integer long loop next not or print return select single step string sub then to "
    "while WEND xor\r\n";

// One block of source mixing every class, short and long lines.
std::string SourceBlock(int n) {
  std::string b;
  b += "#define LIMIT" + std::to_string(n) + " 0x1F  ' directive with a comment\r\n";
  b += "/** documentation of block " + std::to_string(n) + "\r\n   spans two lines */\r\n";
  b += "Function Area(byval w as double, h as double) as double\r\n";
  b += "  dim s as string = \"width and height\" : dim t = `other text`\r\n";
  b += "  /* a block comment */ return w * h + 1.5e-3 - .25 ; trailing comment\r\n";
  b += "End Function\r\n";
  b += "  // a line comment\r\n";
  b += "dim total" + std::to_string(n) + " as long = ";
  for (int i = 0; i < 40; i++) b += "Area(" + std::to_string(i) + ", 2.0) + ";
  b += "0\r\n";
  b += "Sub Count(n as int)\r\n";
  b += "  If n > 0 Then ' blocks nested in blocks\r\n";
  b += "    For i = 1 To n\r\n      print i\r\n    Next i\r\n";
  b += "  Else\r\n    Do\r\n      Exit Do\r\n    End Do\r\n  End If\r\n";
  b += "End Sub\r\n";
  b += "While x < 10 : x += 1 : Wend\r\n\r\n";
  return b;
}

std::string BuildSource(size_t size) {
  std::string text;
  text.reserve(size + 4096);
  for (int n = 0; text.size() < size; n++) text += SourceBlock(n);
  return text;
}

double Seconds() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LRESULT Send(HWND editor, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageA(editor, message, wParam, lParam);
}

void Report(const char* what, double seconds) {
  std::printf("%-44s %9.1f ms\n", what, seconds * 1000.0);
}

}  // namespace

int main() {
  if (!BindLibraries().empty() || !EditingComponent()) {
    std::fprintf(stderr, "cannot load lib/SciLexer.dll or the program's libraries\n");
    return 1;
  }
  HWND editor = NewEditingControl(ControlsWindow("bench", 800, 600, false), 780, 560);
  if (!editor) {
    std::fprintf(stderr, "cannot create the Scintilla window\n");
    return 1;
  }
  Editor = editor;
  ConfigureEditor(editor, Keywords, "Courier New", 10);
  Send(editor, SCI_SETUNDOCOLLECTION, 0);

  const std::string text = BuildSource(10 * 1024 * 1024);
  double t = Seconds();
  std::string copy = text;
  const double copyTime = Seconds() - t;

  t = Seconds();
  Send(editor, SCI_SETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  const double loadTime = Seconds() - t;

  t = Seconds();
  Send(editor, SCI_COLOURISE, 0, -1);
  const double colourTime = Seconds() - t;

  // An edit in the middle: only the edited line onwards needs styling, here up to 100 lines.
  const LRESULT lines = Send(editor, SCI_GETLINECOUNT);
  const LRESULT middle = Send(editor, SCI_POSITIONFROMLINE, lines / 2);
  Send(editor, SCI_INSERTTEXT, middle, reinterpret_cast<LPARAM>("dim y = 1 ' edit\r\n"));
  const LRESULT upTo = Send(editor, SCI_POSITIONFROMLINE, lines / 2 + 100);
  t = Seconds();
  Send(editor, SCI_COLOURISE, Send(editor, SCI_GETENDSTYLED), upTo);
  const double editTime = Seconds() - t;

  std::printf("source: %zu bytes, %ld lines (copy check %d)\n", text.size(),
              static_cast<long>(lines), copy[copy.size() / 2] == text[text.size() / 2]);
  Report("copy the text once", copyTime);
  Report("load it into the control (SCI_SETTEXT)", loadTime);
  Report("colour and fold all of it (SCI_COLOURISE 0..-1)", colourTime);
  Report("restyle 100 lines after an edit in the middle", editTime);
  std::printf("coloured and folded: %.1f MB/s, %.1f times the copy; goal under 1000 ms: %s\n",
              static_cast<double>(text.size()) / colourTime / 1e6, colourTime / copyTime,
              colourTime < 1.0 ? "met" : "MISSED");
  // The text starts with "#define": a keyword when the lexer really ran.
  std::printf("lexer check: first word %s\n",
              Send(editor, SCI_GETSTYLEAT, 0) == 5 ? "coloured as a keyword" : "NOT COLOURED");
  // Every block of the source has seven fold points (the documentation comment, the function,
  // the sub, the if, its else and the two loops), so they show that all of it was folded.
  long foldPoints = 0;
  for (LRESULT line = 0; line < lines; line++) {
    if (Send(editor, SCI_GETFOLDLEVEL, line) & SC_FOLDLEVELHEADERFLAG) foldPoints++;
  }
  std::printf("fold check: %ld fold points, %s\n", foldPoints,
              foldPoints > 0 && foldPoints % 7 == 0 ? "seven in every block" : "NOT FOLDED AS EXPECTED");
  return 0;
}
