// MainWindow's layout step and the pointer position used by drops.
#include <windows.h>
#include "base/Bindings_win.h"
#include "compiler/Debugger_win.h"
#include "editor/EditorSetup_win.h"
#include "shell/Layout.h"
#include "shell/MainWindowSteps_win.h"
#include "shell/ShellState.h"

namespace {
void Place(HWND control, const Rect& r) { Api.MoveWindow(control, r.x, r.y, r.width, r.height, TRUE); }
}  // namespace

void OnSize() {
  RECT outer;
  Api.GetWindowRect(MainWindow, &outer);
  RecordOuterSize(outer.right - outer.left, outer.bottom - outer.top, Api.IsIconic(MainWindow) != FALSE);
  RECT client;
  Api.GetClientRect(MainWindow, &client);
  ClientHeight = client.bottom;
  LayoutPlan plan = ComputeLayout(client.right, client.bottom, ProjectOpen != 0, OutputShown != 0, WindowScale);
  LayoutQuarter = plan.quarter;
  // The side panel is the OutputBox or, for the IDE's own listings, the listing panel in its
  // place; the other one is put away.
  const bool listing = ListingShown != 0 && ListingPanel != nullptr;
  Place(FinderBoxes[OutputBox], listing ? Rect{} : plan.output);
  if (ListingPanel != nullptr) Place(ListingPanel, listing ? plan.output : Rect{});
  Place(CurrentEditor, plan.editor);
  Place(FinderBoxes[ProjectBox], plan.project);
  Place(FinderBoxes[FindBox], plan.find);
  Place(FinderBoxes[ReplaceBox], plan.replace);
  Place(FinderBoxes[LineBox], plan.line);
  Place(FinderBoxes[KeywordBox], plan.keyword);
  for (int i = 0; i < 11; ++i) Place(CommandButtons[i], plan.buttons[i]);
  // The OutputBox panel reaches up over the lower row of boxes and the command buttons right of
  // it; on top of them it also takes the clicks where it is seen, so a click on its first lines
  // goes to the listing and not into a box hidden under it.
  if (OutputShown != 0)
    Api.SetWindowPos(listing ? ListingPanel : FinderBoxes[OutputBox], HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (OutputShown != 0 && DebugKeywordBoxOnTop())
    Api.SetWindowPos(FinderBoxes[KeywordBox], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // The remembered caret is shown once, on the first layout after the editor exists.
  if (RestorePos != 0 && Editor) {
    RestoreCaret(Editor, RestorePos);
    RestorePos = 0;
  }
}

void PointerInClient(HWND window, int& quarter, int& height, int& x, int& y) {
  RECT client;
  Api.GetClientRect(window, &client);
  quarter = QuarterOf(client.right);
  height = client.bottom;
  POINT p = {};
  Api.GetCursorPos(&p);
  Api.ScreenToClient(window, &p);
  x = p.x;
  y = p.y;
}
