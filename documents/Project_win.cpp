// The open project's list in the ProjectBox: opening, adding files, remembered lines, refresh
// and writing it back.
#include <windows.h>
#include "base/Bindings_win.h"
#include "base/Files.h"
#include "base/FileText.h"
#include "base/Boxes_win.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "documents/DocumentState.h"
#include "documents/DocumentText.h"
#include "documents/Documents.h"
#include "documents/LineField.h"
#include "documents/Project.h"
#include "documents/ProjectText.h"
#include "editor/EditorAccess_win.h"

namespace {
void ShowInBox(const std::string& text) { SetControlText(FinderBoxes[ProjectBox], text); }
}  // namespace

ProjectRead ReadProjectText(const std::string& name, std::string& text) {
  if (!ReadDocument(name, text)) return ProjectRead::Nothing;
  if (text.find('\0') == std::string::npos) return ProjectRead::Whole;
  ShowBox("The project file " + WrapLongLine(ExpandPath(name), 64) +
              " holds NUL bytes, which the project list cannot show; it is shown up to the first one and "
              "will not be written back.",
          "zor", MB_OK | MB_ICONERROR);
  return ProjectRead::Part;
}

bool OpenProjectFile(const std::string& name) {
  if (!SaveProjectBox(ProjectFile)) return false;
  std::string text;
  ProjectRead read = ReadProjectText(name, text);
  if (read == ProjectRead::Nothing) return false;
  ProjectFile = name;
  ProjectUnreadable = read != ProjectRead::Whole;
  ProjectText = text;
  ProjectOpen = 1;
  PendingAction = 1;
  ShowInBox(ProjectText);
  Api.SetFocus(MainWindow);
  WorkDir = EnterDirectoryOf(name);
  ProjectText = GetControlText(FinderBoxes[ProjectBox]);
  return true;
}

bool AddFileToProject(const std::string& path) {
  ProjectText = GetControlText(FinderBoxes[ProjectBox]);
  if (InsertFileEntry(ProjectText, path)) {
    ShowInBox(ProjectText);
    return true;
  }
  // No project in the box: the one beside the dropped file, or a new one there.
  const std::string beside = StripExt(path) + ".zoproj";
  std::string existing;
  ProjectRead read = ReadProjectText(beside, existing);
  if (read == ProjectRead::Nothing) return false;
  ProjectFile = beside;
  ProjectUnreadable = read != ProjectRead::Whole;
  // An existing project is shown as it is; so is one the box cannot show whole, which is
  // never written back and so never replaced.
  if (ProjectUnreadable || existing.find("$files") != std::string::npos) {
    ProjectText = existing;
    ShowInBox(ProjectText);
    return false;
  }
  // A file of that name without a list keeps its text: the list is added to it.
  ProjectText = existing.empty() ? NewProjectText(path) : WithFileList(existing, path);
  ShowInBox(ProjectText);
  return true;
}

void RecordCaretLine(const std::string& name) {
  if (ProjectFile.empty() || name.empty()) return;
  ProjectText = GetControlText(FinderBoxes[ProjectBox]);
  std::string updated = WithLineField(ProjectText, name, CaretLine(CurrentEditor));
  if (updated == ProjectText) return;
  ProjectText = updated;
  ShowInBox(ProjectText);
}

std::string TrySaveProjectBox(const std::string& name) {
  if (name.empty() || ProjectUnreadable) return {};
  std::string text = GetControlText(FinderBoxes[ProjectBox]);
  if (FileHolds(name, text)) return {};
  return TryWriteTextFile(name, text);
}

bool SaveProjectBox(const std::string& name) {
  std::string failure = TrySaveProjectBox(name);
  if (!failure.empty()) ShowBox(failure, "zor", MB_OK | MB_ICONERROR);
  return failure.empty();
}
