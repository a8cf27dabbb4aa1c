// The menu bar.
#include "commands/MenuBar_win.h"
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "commands/CommandIds.h"
#include "commands/CommandState.h"
#include "commands/MenuText.h"
#include "documents/DocumentState.h"
#include "documents/ProjectText.h"
#include "editor/EditorAccess_win.h"

namespace {
HMENU Popup(const FixedMenu& menu) {
  HMENU popup = Api.CreateMenu();
  for (const FixedItem& item : menu.items) {
    if (item.id == 0)
      Api.AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    else
      Api.AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(item.id), item.text);
  }
  return popup;
}

void AppendPopup(HMENU bar, HMENU popup, const char* name) {
  Api.AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), name);
}

// The "&Project" menu, when the project text defines any item; slot k of ProjectCommands
// holds the command of identifier 3100 + k.
void AppendProjectMenu(HMENU bar) {
  if (ProjectText.empty()) return;
  const std::vector<ProjectItem> items = ProjectMenuItems(ProjectText);
  if (items.empty()) return;
  HMENU popup = Api.CreateMenu();
  for (size_t k = 0; k < items.size(); ++k) {
    ProjectCommands[k] = items[k].command;
    Api.AppendMenuA(popup, MF_STRING, ProjectCommandFirst + k, items[k].name.c_str());
  }
  AppendPopup(bar, popup, "&Project");
}

void Check(int id, bool on) { Api.CheckMenuItem(MenuBar, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)); }
}  // namespace

void BuildMenuBar() {
  MenuBar = Api.CreateMenu();
  for (const FixedMenu& menu : MenusBeforeProject()) AppendPopup(MenuBar, Popup(menu), menu.name);
  AppendProjectMenu(MenuBar);
  AppendPopup(MenuBar, Popup(HelpMenu()), HelpMenu().name);
}

void RebuildMenuBar(HWND window) {
  if (MenuBar) Api.DestroyMenu(MenuBar);  // its popups go with it
  BuildMenuBar();
  Api.SetMenu(window, MenuBar);
  RefreshCheckMarks();
}

void RebuildMenuIfProjectText() {
  ProjectText = GetControlText(FinderBoxes[ProjectBox]);
  if (!ProjectText.empty()) RebuildMenuBar(MainWindow);
}

void RefreshCheckMarks() {
  if (!MenuBar) return;
  Check(MenuOutputExe, OutputKind == 0);
  Check(MenuOutputDll, OutputKind != 0);
  Check(MenuNameAfterSource, NameAfterSource != 0);
  Check(MenuToggleProject, ProjectOpen != 0);
}
