// Dropped files and help.
#include "commands/Drops_win.h"
#include <string>
#include "base/Bindings_win.h"
#include "base/Boxes_win.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "compiler/Launch.h"
#include "commands/CommandIds.h"
#include "commands/MenuBar_win.h"
#include "commands/MenuText.h"
#include "documents/DocumentState.h"
#include "documents/Documents.h"
#include "documents/Project.h"
#include "documents/ProjectText.h"
#include "editor/EditorAccess_win.h"
#include "language/WordAt.h"

namespace {
constexpr int ToolbarRowHeight = 40;  // a file dropped higher than this (at 96 dpi) is run as well

// Every dropped name but shell shortcuts, each followed by CR LF, in the order of the drop.
std::string DroppedList(HDROP drop) {
  std::string list;
  UINT count = Api.DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = Api.DragQueryFileA(drop, i, nullptr, 0);
    std::string name(length + 1, '\0');
    name.resize(Api.DragQueryFileA(drop, i, name.data(), length + 1));
    if (!IsShortcut(name)) list += name + "\r\n";
  }
  return list;
}

std::string NextName(const std::string& list, int& pos) {
  std::string name = NextListLine(list, pos);
  while (!name.empty() && static_cast<unsigned char>(name.back()) <= 32) name.pop_back();
  return DollarForm(name, ProgramDir);
}

bool IsProjectName(const std::string& name) {
  return name.size() >= 7 && name.compare(name.size() - 7, 7, ".zoproj") == 0;
}

// A dropped project file opens as the project, with its Project menu.
Outcome OpenDroppedProject(const std::string& name) {
  if (!OpenProjectFile(name)) return Outcome::Stop;
  RebuildMenuIfProjectText();
  return Outcome::Go;
}

// After files joined the project: the menu from the list, and the list written to its file.
void RefreshProject() {
  RebuildMenuIfProjectText();
  SaveProjectBox(ProjectFile);
}
}  // namespace

Outcome OnDropFiles(HDROP drop, DropPoint point) {
  const std::string list = DroppedList(drop);
  Api.DragFinish(drop);
  // A drop of nothing but shortcuts changes nothing.
  if (list.empty()) return Outcome::Go;
  int pos = 1;
  std::string name = NextName(list, pos);
  for (;;) {
    if (IsProjectName(name)) return OpenDroppedProject(name);
    if (point.x >= point.quarter || ProjectOpen != 1) break;
    if (!AddFileToProject(name)) return Outcome::Stop;
    if (pos > static_cast<int>(list.size())) {
      RefreshProject();
      return Outcome::Go;
    }
    name = NextName(list, pos);
  }
  if (OpenDroppedFile(name) == Outcome::Stop) return Outcome::Stop;
  if (point.y < WindowScale(ToolbarRowHeight)) Api.SendMessageA(MainWindow, WM_COMMAND, KeyF5, 0);
  return Outcome::Go;
}

namespace {
bool IsEditorOrBox(HWND window) {
  if (window == nullptr) return false;
  if (window == CurrentEditor) return true;
  for (int slot = FindBox; slot <= OutputBox; ++slot)
    if (window == FinderBoxes[slot]) return true;
  return false;
}

// The control whose word F1 looks up: the editor or box that has the focus. A click on a button
// gives the button the focus (the toolbar's Help picture), and its caption is no word of the
// user's: then the editor or box that had the focus before, or the editor.
HWND HelpSource() {
  HWND focused = Api.GetFocus();
  if (IsEditorOrBox(focused)) return focused;
  if (LastFocused && Api.IsWindow(LastFocused)) return LastFocused;
  return CurrentEditor;
}
}  // namespace

void KeywordHelp() {
  HWND focused = HelpSource();
  std::string text = GetControlText(focused);
  TextSpan selection;
  if (focused) selection = SelectionSpan(focused);
  int length = 0;
  std::string word = WordAt(text, selection.start, selection.end, length);
  // Codes 0 to 32 go: a caret on a NUL byte of the text gives the word "\0", no page's name.
  size_t first = 0;
  while (first < word.size() && static_cast<unsigned char>(word[first]) <= 32) ++first;
  LaunchProcess(HelpCommandLine(ProgramDir, word.substr(first)), false);
}

void ShowKeyHelp() { ShowBox(KeyHelpText(), "ZorvexIde Help", MB_ICONINFORMATION); }
