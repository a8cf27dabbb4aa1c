// Benchmark of the IDE's own commands on big documents, under Wine: find, find & replace,
// replace in selection and a compiler query on a 10 MB source with 100,000 occurrences, each
// next to the time of one plain copy of the text, and a key typed with errors-as-you-type off
// and on; then a 256 MB source loaded, searched and saved, each with the process's peak
// memory per source byte; and the completion list on a 10 MB source of subs and records: the
// names known after it is opened, Ctrl+Space until the list shows, a letter typed with the
// list open until the list is narrowed, and lines typed with Enter (the median and the worst
// key). Run from the program folder.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <vector>
#include <string>
#include <vector>
#include "BenchClock.h"
#include "base/AppMessages_win.h"
#include "base/Bindings_win.h"
#include "base/Files.h"
#include "compiler/BuildState.h"
#include "compiler/ErrorCheck.h"
#include "documents/DocumentState.h"
#include "documents/Documents.h"
#include "editor/Completing_win.h"
#include "editor/EditorAccess_win.h"
#include "editor/EditorSetup_win.h"
#include "editor/FindReplace_win.h"
#include "Scintilla.h"
#include "shell/MainWindowSteps_win.h"
#include "shell/ShellState.h"
#include "shell/StartupText.h"

namespace {

// A line of source; two in five hold the word "needle" once, the rest are plain code.
std::string Line(int n) {
  if (n % 5 == 0 || n % 5 == 2) return "  total = total + needle(" + std::to_string(n) + ") ' line " + std::to_string(n) + "\r\n";
  return "  print \"value\", x" + std::to_string(n % 97) + " * 2 + " + std::to_string(n) + "\r\n";
}

// Source text of about size bytes with occurrences of the word needle.
std::string Source(size_t size, int& occurrences) {
  std::string text;
  text.reserve(size + 100);
  occurrences = 0;
  for (int n = 0; text.size() < size; ++n) {
    text += Line(n);
    if (n % 5 == 0 || n % 5 == 2) ++occurrences;
  }
  return text;
}

HWND Child(const char* cls) {
  return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 700, 500, MainWindow, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void Report(const char* what, double seconds, double copy) {
  std::printf("%-64s %9.1f ms  %7.1f copies\n", what, seconds * 1000.0, seconds / copy);
}

void ReportMemory(const char* what, double seconds, double size) {
  std::printf("%-52s %9.1f ms  %7.2f bytes of peak memory per source byte\n", what, seconds * 1000.0,
              PeakMemory() / size);
}

// The main window's part in errors-as-you-type: the editor's notifications, the pause timer
// and the checks' results go to the IDE's own handlers.
LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) OnNotify(reinterpret_cast<const NMHDR*>(lParam));
  if (message == WM_TIMER && OnErrorCheckTimer(wParam)) return 0;
  if (message == ErrorCheckedMessage) {
    OnErrorChecked(lParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// One key typed into the editor and painted, as the message loop hands it over.
double Key(char c) {
  double t = Seconds();
  SendMessageA(Editor, WM_CHAR, static_cast<WPARAM>(c), 0);
  UpdateWindow(Editor);
  return Seconds() - t;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// Keys typed into an editor set up as the IDE's is and as large, whose parent handles none of
// its notifications: the editor alone, without the indentation, the matching marks, completion
// and the error check that the IDE's notifications drive.
double BareKey(const std::string& text) {
  RECT size{};
  GetClientRect(Editor, &size);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "barebench";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "barebench", "bench", WS_POPUP | WS_VISIBLE, 0, 0, size.right + 40,
                                size.bottom + 40, nullptr, nullptr, wc.hInstance, nullptr);
  HWND saved = Editor;
  Editor = CreateWindowExA(0, "Scintilla", "", WS_CHILD | WS_VISIBLE, 0, 0, size.right, size.bottom, parent, nullptr,
                           wc.hInstance, nullptr);
  ConfigureEditor(Editor, KeywordList, "Courier New", 10);
  SetControlText(Editor, text);
  SendMessageA(Editor, EM_SETSEL, text.size() / 2, text.size() / 2);
  SendMessageA(Editor, SCI_SCROLLCARET, 0, 0);
  Pump();
  std::vector<double> keys;
  for (int k = 0; k < 200; ++k) keys.push_back(Key(k % 2 ? 'a' : ' '));
  DestroyWindow(parent);
  Editor = saved;
  return Median(keys);
}

// Keys typed with the check off (a library without zor_check), and with it on while a check
// of the whole text runs on its worker thread, as when the user types on after a pause; in
// alternate rounds, so that a machine busy with other work weighs on both alike.
void KeysWithErrorCheck(const std::string& text) {
  ShowWindow(MainWindow, SW_SHOW);
  SetControlText(Editor, text);
  SendMessageA(Editor, EM_SETSEL, text.size() / 2, text.size() / 2);
  SendMessageA(Editor, SCI_SCROLLCARET, 0, 0);
  Pump();
  const ZorCheckFn check = Api.zor_check;
  std::vector<double> off, on, starts, checks;
  for (int round = 0; round < 5; ++round) {
    Api.zor_check = nullptr;
    for (int k = 0; k < 40; ++k) off.push_back(Key(k % 2 ? 'a' : ' '));
    Api.zor_check = check;
    LastChangeTick = GetTickCount() - 1000;  // the pause is over
    double t = Seconds();
    OnErrorCheckTimer(ErrorCheckTimer);  // the text copied, the check started
    starts.push_back(Seconds() - t);
    for (int k = 0; ChecksRunning > 0 || k < 40; ++k) {
      on.push_back(Key(k % 2 ? 'a' : ' '));
      Pump();
    }
    checks.push_back(Seconds() - t);
    Pump();
  }
  ShowWindow(MainWindow, SW_HIDE);
  const double bare = BareKey(text);
  std::printf("%-52s %9.2f ms  (median of 200)\n", "a key in the editor alone, no notification handled", bare * 1000.0);
  std::printf("%-52s %9.2f ms  (median of %zu, %.2f of alone)\n", "a key with errors-as-you-type off",
              Median(off) * 1000.0, off.size(), Median(off) / bare);
  std::printf("%-52s %9.2f ms  (median of %zu, %.2f of off)\n", "a key with it on, a check running meanwhile",
              Median(on) * 1000.0, on.size(), Median(on) / Median(off));
  std::printf("%-52s %9.1f ms\n", "  the pause's end: the text copied, the check started", Median(starts) * 1000.0);
  std::printf("%-52s %9.1f ms\n", "  one check of the text on its worker thread", Median(checks) * 1000.0);
}

void TenMegabytes() {
  int occurrences = 0;
  const std::string text = Source(10 * 1024 * 1024, occurrences);
  double t = Seconds();
  std::string copy = text;
  const double copyTime = Seconds() - t;
  std::printf("10 MB source: %zu bytes, %d occurrences of \"needle\" (copy check %d)\n", text.size(), occurrences,
              copy[copy.size() / 2] == text[text.size() / 2]);
  copy.clear();
  copy.shrink_to_fit();
  Report("copy the text once", copyTime, copyTime);

  SetControlText(CurrentEditor, text);
  SetControlText(FinderBoxes[FindBox], "needle");
  SetControlText(FinderBoxes[ReplaceBox], "pin");
  SendMessageA(CurrentEditor, EM_SETSEL, text.size() / 2, text.size() / 2);
  t = Seconds();
  int found = FindStep(CurrentEditor, FinderBoxes[FindBox], 0, nullptr);
  Report("one F3 step from the middle", Seconds() - t, copyTime);

  t = Seconds();  // the selection starts at the occurrence just found: replaced, then the next one
  int next = FindStep(CurrentEditor, FinderBoxes[FindBox], 0, FinderBoxes[ReplaceBox]);
  Report("one F4 step (replace the selection, select the next)", Seconds() - t, copyTime);
  if (found <= 0 || next <= found) std::printf("  FIND CHECK FAILED: %d %d\n", found, next);

  SetControlText(CurrentEditor, text);
  SendMessageA(CurrentEditor, EM_SETSEL, 0, text.size());
  t = Seconds();
  ReplaceInSelection(CurrentEditor, FinderBoxes[FindBox], FinderBoxes[ReplaceBox]);
  Report("replace in selection over the whole text", Seconds() - t, copyTime);
  t = Seconds();
  EditorUndo();
  Report("  and its undo", Seconds() - t, copyTime);
  std::string back;
  std::printf("  undo check: %s\n", ControlTextView(CurrentEditor, back) == text ? "the old text, whole" : "DIFFERENT");

  std::string query = text + "\r\n#list \"" + ProgramDir + "\\_.txt\" needle\r\n";
  t = Seconds();
  Api.zor_basis(query.c_str());
  Report("a zor_basis \"#list\" query on the same text", Seconds() - t, copyTime);
  std::printf("  listing: %zu bytes\n", ReadTextFile(ProgramDir + "\\_.txt").size());
  KeysWithErrorCheck(text);
}

// A part of a program with a record, a sub and its names, as the name finder's benchmark has it.
std::string NamesBlock(int n) {
  const std::string k = std::to_string(n);
  return "' part " + k + "\r\ntype rec" + k + "\r\n  x as int\r\n  name as string\r\nend type\r\n"
         "dim shared" + k + " as rec" + k + "\r\n"
         "sub work" + k + "(count as int, byref label as string)\r\n"
         "  dim total as float, v(10) as int\r\n  for i = 1 to count\r\n"
         "    total = total + v(i) * 2 ' running sum\r\n"
         "    label = label & \"item, \" & str(i)\r\n  next\r\n"
         "  /* a comment over\r\n     two lines */\r\n  print \"total: \"; total\r\nend sub\r\n"
         "result" + k + " = 0\r\n";
}

template <typename Step>
double Median(int runs, Step step) {
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) times.push_back(step());
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

LRESULT CALLBACK NotifyingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) OnNotify(reinterpret_cast<const NMHDR*>(lParam));
  return DefWindowProcA(window, message, wParam, lParam);
}

// Lines of statements typed with Enter in the middle of the names' source, as one writes a sub's
// body: each line's first word and its blank ask for a parameter hint (so for the names known),
// and each Enter adds a line below which every name moves. Prints the median and the worst key.
void LinesTyped(double copyTime) {
  const std::string statement = "total = total + 1";
  const LRESULT middle = SendMessageA(Editor, SCI_GETLINECOUNT, 0, 0) / 2;
  SendMessageA(Editor, SCI_GOTOPOS, static_cast<WPARAM>(SendMessageA(Editor, SCI_GETLINEENDPOSITION, middle, 0)), 0);
  // The first key there colours the text above it once, whatever the key: not measured.
  SendMessageA(Editor, WM_CHAR, ' ', 0);
  std::vector<double> keys, enters;  // keys: an Enter, then the statement's characters, a line after another
  for (int line = 0; line < 30; ++line) {
    double start = Seconds();
    SendMessageA(Editor, WM_KEYDOWN, VK_RETURN, 0);
    enters.push_back(Seconds() - start);
    keys.push_back(enters.back());
    for (char c : statement) {
      start = Seconds();
      SendMessageA(Editor, WM_CHAR, static_cast<WPARAM>(c), 0);
      keys.push_back(Seconds() - start);
    }
  }
  std::printf("lines typed with Enter in the middle of the source: %zu keys, %zu of them Enter\n", keys.size(),
              enters.size());
  Report("  a key (median)", Median(keys), copyTime);
  const auto worst = std::max_element(keys.begin(), keys.end());
  const size_t at = static_cast<size_t>(worst - keys.begin()) % (statement.size() + 1);
  const std::string which = at == 0 ? "Enter" : "\"" + statement.substr(0, at) + "\"";
  Report(("  the worst key (" + which + ")").c_str(), *worst, copyTime);
  Report("  an Enter (median)", Median(enters), copyTime);
}

// The completion list on a 10 MB source in an editor set up as the IDE sets it, its
// notifications handled as the main window handles them.
void Completion() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = NotifyingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "completionbench";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "completionbench", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                nullptr, nullptr, wc.hInstance, nullptr);
  HWND saved = Editor;
  Editor = CreateWindowExA(0, "Scintilla", "", WS_CHILD | WS_VISIBLE, 0, 0, 780, 560, parent, nullptr, wc.hInstance,
                           nullptr);
  ConfigureEditor(Editor, KeywordList, "Courier New", 10);
  std::string text;
  for (int n = 0; text.size() < (10u << 20); ++n) text += NamesBlock(n);
  text += "wor";
  double t = Seconds();
  std::string copy = text;
  const double copyTime = Seconds() - t;
  copy.clear();
  SetControlText(Editor, text);
  const LRESULT end = SendMessageA(Editor, SCI_GETLENGTH, 0, 0);
  SendMessageA(Editor, SCI_GOTOPOS, static_cast<WPARAM>(end), 0);
  std::printf("completion on a 10 MB source: %zu bytes, %ld lines\n", text.size(),
              static_cast<long>(SendMessageA(Editor, SCI_GETLINECOUNT, 0, 0)));
  t = Seconds();
  ShowCompletion();
  Report("the names known after opening (the first Ctrl+Space)", Seconds() - t, copyTime);
  auto active = [] { return SendMessageA(Editor, 2102 /* SCI_AUTOCACTIVE */, 0, 0) != 0; };
  if (!active()) std::printf("  LIST CHECK FAILED: no list after Ctrl+Space\n");
  // Each Ctrl+Space comes after a key typed on the line before, as while one writes.
  const double show = Median(21, [&] {
    SendMessageA(Editor, 2101 /* SCI_AUTOCCANCEL */, 0, 0);
    const LRESULT lineEnd = SendMessageA(Editor, SCI_GETLINEENDPOSITION, SendMessageA(Editor, SCI_GETLINECOUNT, 0, 0) - 2, 0);
    SendMessageA(Editor, SCI_GOTOPOS, static_cast<WPARAM>(lineEnd), 0);
    SendMessageA(Editor, WM_CHAR, ' ', 0);
    SendMessageA(Editor, SCI_GOTOPOS, static_cast<WPARAM>(SendMessageA(Editor, SCI_GETLENGTH, 0, 0)), 0);
    const double start = Seconds();
    ShowCompletion();
    return Seconds() - start;
  });
  Report("Ctrl+Space until the list shows (median)", show, copyTime);
  const double narrow = Median(21, [&] {
    if (!active()) ShowCompletion();
    const double start = Seconds();
    SendMessageA(Editor, WM_CHAR, 'k', 0);
    const double took = Seconds() - start;
    if (!active()) std::printf("  LIST CHECK FAILED: the list closed on a letter\n");
    SendMessageA(Editor, 2101 /* SCI_AUTOCCANCEL */, 0, 0);
    SendMessageA(Editor, WM_KEYDOWN, VK_BACK, 0);
    return took;
  });
  Report("a letter typed with the list open until it is narrowed (median)", narrow, copyTime);
  const double plain = Median(21, [&] {
    SendMessageA(Editor, 2101 /* SCI_AUTOCCANCEL */, 0, 0);
    SendMessageA(Editor, WM_CHAR, ' ', 0);
    const double start = Seconds();
    SendMessageA(Editor, WM_CHAR, 'k', 0);
    const double took = Seconds() - start;
    SendMessageA(Editor, WM_KEYDOWN, VK_BACK, 0);
    SendMessageA(Editor, WM_KEYDOWN, VK_BACK, 0);
    return took;
  });
  Report("  the same letter typed with no list open, beside it (median)", plain, copyTime);
  LinesTyped(copyTime);
  DestroyWindow(parent);
  Editor = saved;
}

// Writes a source of about size bytes in pieces, so this process never holds it whole.
size_t WriteBigSource(const std::string& path, size_t size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  size_t written = 0;
  std::string piece;
  for (int n = 0; written < size; ++n) {
    piece += Line(n);
    if (piece.size() > (4 << 20) || written + piece.size() >= size) {
      DWORD done = 0;
      WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &done, nullptr);
      written += done;
      piece.clear();
    }
  }
  CloseHandle(file);
  return written;
}

void BigSource(size_t megabytes) {
  const std::string path = ProgramDir + "\\bench-big.zobas";
  const double size = static_cast<double>(WriteBigSource(path, megabytes << 20));
  std::printf("%zu MB source: %.0f bytes (peak memory before loading: %.2f bytes per source byte)\n", megabytes,
              size, PeakMemory() / size);
  double t = Seconds();
  bool loaded = LoadIntoEditor(path);
  CurrentFile = SaveName = path;
  ReportMemory(loaded ? "load it into the editor" : "load it into the editor: REFUSED", Seconds() - t, size);
  SetControlText(FinderBoxes[FindBox], "NEEDLE");
  SendMessageA(CurrentEditor, EM_SETSEL, static_cast<WPARAM>(size / 2), static_cast<WPARAM>(size / 2));
  t = Seconds();
  FindStep(CurrentEditor, FinderBoxes[FindBox], 0, nullptr);
  ReportMemory("one F3 step", Seconds() - t, size);
  SendMessageA(CurrentEditor, 2003, 0, reinterpret_cast<LPARAM>("' edited\r\n"));
  t = Seconds();
  std::string copy;
  SaveIfChanged(SaveName, ControlTextView(CurrentEditor, copy), "");  // the save check, then the write
  ReportMemory("one save (the save check and the write)", Seconds() - t, size);
  DeleteFileA(path.c_str());
}
}  // namespace

int main(int argc, char** argv) {
  if (!BindLibraries().empty() || !LoadLibraryA("lib/SciLexer.dll")) {
    std::fprintf(stderr, "run from the program folder: cannot load its libraries\n");
    return 1;
  }
  char dir[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, dir);
  ProgramDir = dir;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = BenchWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "zorbench";
  RegisterClassExA(&windowClass);
  MainWindow = CreateWindowExA(0, "zorbench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  Editor = CurrentEditor = Child("Scintilla");
  for (int slot = FindBox; slot <= OutputBox; ++slot) FinderBoxes[slot] = Child("EDIT");
  std::string which = argc > 1 ? argv[1] : "all";
  if (which == "all" || which == "10mb") TenMegabytes();
  if (which == "all" || which == "completion") Completion();
  if (which == "all" || which == "256mb") BigSource(256);
  return 0;
}
