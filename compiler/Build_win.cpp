// The run, compile, tools, project and compiler-query commands: they start the compile tool or
// the command interpreter in the program's console, or ask the compiler library in-process.
#include <windows.h>
#include "base/Bindings_win.h"
#include "base/Files.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "compiler/Build.h"
#include "compiler/BuildState.h"
#include "compiler/BuildText.h"
#include "compiler/CommandLine.h"
#include "compiler/Debugger_win.h"
#include "compiler/RunWatch_win.h"
#include "navigation/FindFiles.h"
#include "compiler/Launch.h"
#include "documents/DocumentState.h"
#include "documents/Documents.h"
#include "editor/CodePage_win.h"
#include "editor/EditorAccess_win.h"
#include "language/SourceFiles.h"
#include "language/WordAt.h"

namespace {
std::string ToolPath() { return ProgramDir + "\\zor5.exe"; }
std::string ListingFile() { return ProgramDir + "\\_.txt"; }

std::string ProjectValue(const std::string& key) { return ExpandPath(ValueAfterKey(ProjectText, key, 1)); }

// The editor's selection, 1-based.
void EditorSelection(int& start, int& end) {
  const TextSpan selection = SelectionSpan(CurrentEditor);
  start = selection.start;
  end = selection.end;
}

bool HoldsOnlyBlanks(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 1 || static_cast<unsigned char>(c) > 32) return false;
  return true;
}

std::string WithoutLeadingBlanks(std::string word) {
  size_t first = 0;
  while (first < word.size() && static_cast<unsigned char>(word[first]) >= 1 &&
         static_cast<unsigned char>(word[first]) <= 32)
    ++first;
  return word.substr(first);
}
}  // namespace

std::string SourceToRun(int& kind) {
  kind = OutputKind;
  if (CurrentFile.empty()) CurrentFile = ProgramDir + "\\_.zobas";
  std::string copy;
  bool haveText = !ControlTextView(CurrentEditor, copy).empty();
  if (haveText) {
    // A source that could not be written must not be built as it was before (reported).
    if (PrepareScratchSource() == Outcome::Stop) return "";
    BuildInput = CurrentFile;
  }
  if (!ProjectFile.empty()) {
    ProjectText = GetControlText(FinderBoxes[ProjectBox]);
    std::string outputName = ProjectValue("$binary ");
    if (!IsProgramSource(CurrentFile)) {
      std::string main = ProjectValue("$main ");
      if (!SameText(main, CurrentFile)) {
        haveText = !ReadTextFile(main).empty();
        BuildInput = main;
      }
    }
    kind = OutputKindFor(kind, outputName);
  }
  return haveText ? ExpandPath(BuildInput) : "";
}

void BuildCommand(int modifier) {
  int kind = OutputKind;
  const std::string source = SourceToRun(kind);
  if (source.empty()) return;
  StartWatchedRun(ToolCommandLine(ToolPath(), BuildOptions(modifier, kind), source), (modifier & 2) != 0, source);
}

void ToolsCommand(int modifier) {
  if (modifier == 0 || modifier == 3) {
    RunShell("", false);
    return;
  }
  Api.SetCurrentDirectoryA(FolderToEnter(ProgramDir).c_str());
  if (modifier == 1) LaunchProcess("zor5.exe tools/QnCommand.zobas", false);
  Api.SetCurrentDirectoryA(FolderToEnter(WorkDir).c_str());
  if (modifier == 2) FindInFiles();
}

Outcome ProjectCommand(int index) {
  if (NoticeOutsideChange(DiskMoment::BeforeLeaving) == Outcome::Stop) return Outcome::Stop;
  std::string copy;
  if (SaveIfChanged(CurrentFile, ControlTextView(CurrentEditor, copy), "Performing Project Command") ==
      SaveAnswer::Cancel)
    return Outcome::Stop;
  const std::string command = ProjectCommands[index];
  if (!command.empty() && command[0] == '<') {
    SwitchToListedFile(command, false);
    Api.SetFocus(CurrentEditor);
  } else if (command.empty()) {
    RunShell("", false);
  } else if (WriteTextFile("_.bat", command)) {
    RunShell("_.bat", false);
  }
  return Outcome::Go;
}

void CompilerQuery(int mode, const std::string& word) {
  std::string query = GetControlText(CurrentEditor);
  if (HoldsOnlyBlanks(query)) return;
  if (query.find('\0') != std::string::npos) {
    SetControlText(FinderBoxes[OutputBox], NulByteQueryText(query));
    PendingAction = 1;
    OutputShown = 1;
    ListingShown = 0;
    return;
  }
  int start = 0, end = 0;
  EditorSelection(start, end);
  std::string asked = word;
  if (asked.empty()) {
    int length = 0;
    asked = WithoutLeadingBlanks(WordAt(query, start, end, length));
  }
  if (asked.empty()) {
    SetControlText(FinderBoxes[OutputBox], "");
    PendingAction = 1;
    return;
  }
  InsertListingDirective(query, mode, start, end, asked, ListingFile());
  Api.zor_basis(query.c_str());
  // The listing quotes the document's text, in its code page; the boxes are ANSI.
  SetBoxTextFromEditor(FinderBoxes[OutputBox], ReadTextFile(ListingFile()));
  if (word.empty()) SetBoxTextFromEditor(FinderBoxes[KeywordBox], asked);
  PendingAction = 1;
  OutputShown = 1;
  ListingShown = 0;  // a query's listing shows in the OutputBox, never in the listing panel
}

void KeywordBoxQuery() {
  std::string word = BoxTextForEditor(FinderBoxes[KeywordBox]);
  // While a debugged program is stopped the box takes the debugger's commands instead.
  if (DebugBoxCommand(word)) return;
  OutputShown = word.empty() ? 0 : 1;
  if (!word.empty()) CompilerQuery(QueryList, word);
  // Asked for once the listing is written: a notice of the box while it fills (it scrolls)
  // would otherwise take the relayout half-way and leave a second one for the end.
  PendingAction = 1;
}
