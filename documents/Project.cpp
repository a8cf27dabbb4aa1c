// The open project's list in the ProjectBox: remembered lines, refresh and writing it back.
#include <windows.h>
#include "documents/Project.h"
#include "documents/DocumentState.h"
#include "documents/Documents.h"
#include "documents/LineField.h"
#include "editor/EditorAccess.h"
#include "shell/ShellState.h"

namespace {
// The 1-based line of the editor's selection start.
int CaretLine() {
  DWORD start = 0;
  EditorSend(CurrentEditor, EM_GETSEL, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(EditorSend(CurrentEditor, EM_LINEFROMCHAR, EM_LINEFROMCHAR, start, 0)) + 1;
}
}  // namespace

void RecordCaretLine(const std::string& name) {
  if (ProjectFile.empty() || name.empty()) return;
  ProjectText = GetControlText(FinderBoxes[ProjectBox]);
  std::string updated = WithLineField(ProjectText, name, CaretLine());
  if (updated == ProjectText) return;
  ProjectText = updated;
  SetControlText(FinderBoxes[ProjectBox], ProjectText);
}

void SaveProjectBox(const std::string& name) {
  if (name.empty()) return;
  WriteTextFile(name, GetControlText(FinderBoxes[ProjectBox]));
}

void RefreshProject() {
  ProjectText = GetControlText(FinderBoxes[ProjectBox]);
  // The Project menu is rebuilt from a non-empty ProjectText here once the menu bar exists.
  SaveProjectBox(ProjectFile);
}
