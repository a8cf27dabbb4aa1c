// Benchmark of find in files (Ctrl+F7) under Wine: the IDE's command on a folder tree, from the
// key's command until the whole listing is painted in the listing panel, several runs, with the
// files per second, the process's peak memory and the time the panel alone takes to show the
// listing. Usage: findfilesbench <document in the tree> <word> [runs] (run from the program
// folder).
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchClock.h"
#include "base/AppMessages_win.h"
#include "base/Bindings_win.h"
#include "compiler/Build.h"
#include "editor/EditorAccess_win.h"
#include "editor/Listing_win.h"
#include "navigation/FindFiles.h"
#include "shell/ShellState.h"

namespace {

HWND Child(const char* cls, DWORD style, int width) {
  return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, width, 500, MainWindow, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The summary line "N lines in M files" at the end of the listing.
std::string Summary(const std::string& listing) {
  size_t last = listing.rfind('\n');
  return last == std::string::npos ? listing : listing.substr(last + 1);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || !BindLibraries().empty() || !LoadLibraryA("lib/SciLexer.dll")) {
    std::fprintf(stderr, "usage (from the program folder): findfilesbench <document in the tree> <word> [runs]\n");
    return 1;
  }
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  char dir[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, dir);
  ProgramDir = WorkDir = dir;
  MainWindow = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  Editor = CurrentEditor = Child("Scintilla", 0, 500);
  // The boxes as the main window has them: an 800-pixel window gives the OutputBox 302 pixels.
  for (int slot = FindBox; slot <= OutputBox; ++slot)
    FinderBoxes[slot] = Child("EDIT", WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN, 302);
  HFONT font = ApplyFont(FinderBoxes + 1, 6, 13, 9, 400, "Lucida console");
  SendMessageA(FinderBoxes[OutputBox], EM_SETLIMITTEXT, 0, 0);
  ListingPanel = Child("Scintilla", WS_VSCROLL | WS_HSCROLL, 302);
  ConfigureListing(ListingPanel, "Lucida console", 9);
  StatusBar = Child("STATIC", 0, 300);
  CurrentFile = SaveName = argv[1];
  SetControlText(CurrentEditor, std::string(argv[2]) + " = 1\r\n");

  std::vector<double> times;
  std::string listing;
  for (int run = 0; run < runs; ++run) {
    ClearListing();
    UpdateWindow(ListingPanel);
    SendMessageA(CurrentEditor, EM_SETSEL, 0, 0);
    double t = Seconds();
    ToolsCommand(2);
    // The search runs on its own thread: its news are handled as the main window handles them.
    for (MSG msg; FindInFilesRunning() && GetMessageA(&msg, nullptr, 0, 0) > 0;) {
      if (msg.message == SearchNewsMessage) OnSearchNews(msg.wParam, msg.lParam);
      else DispatchMessageA(&msg);
    }
    RedrawWindow(ListingPanel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    times.push_back(Seconds() - t);
    listing = GetControlText(ListingPanel);
  }
  // How much of it the panel takes to show the listing alone, in one append.
  ClearListing();
  UpdateWindow(ListingPanel);
  double t = Seconds();
  AppendListing(listing);
  RedrawWindow(ListingPanel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const double display = Seconds() - t;
  std::sort(times.begin(), times.end());
  std::printf("ide %.4f %.4f %.4f %.1f %.4f %s\n", times.front(), times[times.size() / 2], times.back(), PeakMemory() / (1 << 20),
              display, Summary(listing).c_str());
  DeleteObject(font);
  return 0;
}
