// The standard Open and Save As dialogs, driven by an OPENFILENAMEA record.
#include "documents/FileDialog.h"
#include <windows.h>
#include <commdlg.h>
#include "base/Bindings_win.h"
#include "base/Boxes_win.h"
#include "documents/FileDialogText.h"

std::string FileDialog(const std::string& initialName, bool saveMode, const std::string& filter) {
  std::string filters = FilterListOrDefault(filter);
  std::string name = DialogNameBuffer(initialName);
  char initialDir[1] = {'\0'};
  OPENFILENAMEA record{};
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // the 76-byte record, without the places bar fields
  record.hInstance = Api.GetModuleHandleA(nullptr);
  record.lpstrFilter = filters.c_str();
  record.nFilterIndex = 1;
  record.lpstrFile = name.data();
  record.nMaxFile = DialogNameSize;
  record.lpstrInitialDir = initialDir;
  record.lpstrTitle = DialogTitle(saveMode);
  record.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  MainWindowBlocked block;  // the dialog has no owner: keep the IDE's window from taking input under it
  BOOL chosen = saveMode ? Api.GetSaveFileNameA(&record) : Api.GetOpenFileNameA(&record);
  return chosen ? NameFromBuffer(name) : std::string();
}
