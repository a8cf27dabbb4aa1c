// The main-window routine and the message loop.
#include "shell/MainWindow_win.h"
#include "base/Boxes_win.h"
#include <windows.h>
#include "base/Bindings_win.h"
#include "compiler/Debugger_win.h"
#include "editor/Completing_win.h"
#include "editor/Editing_win.h"
#include "editor/UndoSteps_win.h"
#include "shell/GuiSlots.h"
#include "shell/KeyTable.h"
#include "shell/Placement.h"
#include "shell/Scaling_win.h"
#include "shell/ShellState.h"
#include "shell/Toolbar_win.h"
#include "shell/WindowProc_win.h"

namespace {
int CreationWidth = 0;            // size passed to CreateWindowExA
int CreationHeight = 0;
WindowPlace Place = {0, 0};       // position from the placement mode; kept for unknown modes
bool ClassRegistered = false;     // "wins" is registered at most once per process

void RegisterMainClass(HINSTANCE instance) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = Api.LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = Api.LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(Api.GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = "wins";
  if (!Api.RegisterClassExA(&wc)) ShowBox("Registration failed", "Problem", MB_ICONHAND);
}

LoopTarget TargetOf(HWND window, bool keyDown, unsigned key) {
  if (window == nullptr) return LoopTarget::Other;
  if (keyDown && window == Editor && CompletionTakesKey(key)) return LoopTarget::EditorList;
  if (window == FinderBoxes[ProjectBox]) return LoopTarget::ProjectBox;
  if (window == ListingPanel) return LoopTarget::Listing;
  for (int slot : {FindBox, ReplaceBox, LineBox, KeywordBox})
    if (window == FinderBoxes[slot]) return LoopTarget::SearchBox;
  return LoopTarget::Other;
}

// Tab and Shift+Tab on a selection of the Editor's lines shift the lines, and the editor does
// not see the key; on one line the editor takes it as it would.
bool LinesShiftedByTab(const MSG& msg, bool controlDown, bool altDown) {
  if (msg.message != WM_KEYDOWN || (msg.wParam & 0xFF) != VK_TAB || msg.hwnd == nullptr || msg.hwnd != Editor)
    return false;
  if (controlDown || altDown || CompletionShowing()) return false;
  return IndentSelectedLines((Api.GetKeyState(VK_SHIFT) & 0x8000) != 0);
}

// One message taken from the queue: its command first, then the message itself unless withheld.
void HandleQueued(MSG& msg) {
  // The key state as it was when this message was queued: while the program is busy keys pile
  // up, and the state of the keyboard now says nothing about a key pressed back then.
  bool keyDown = msg.message == WM_KEYDOWN;
  bool controlDown = keyDown && (Api.GetKeyState(VK_CONTROL) & 0x8000) != 0;
  bool altDown = keyDown && (Api.GetKeyState(VK_MENU) & 0x8000) != 0;
  // The character the key makes on the user's layout (the high bit marks a dead key).
  char typed = controlDown ? char(Api.MapVirtualKeyA(UINT(msg.wParam), MAPVK_VK_TO_CHAR) & 0x7FFF) : 0;
  const unsigned key = unsigned(msg.wParam & 0xFF);
  // The debugger's keys come first, and never reach their window.
  if (DebugTakesKey(msg.message, key)) return;
  LoopAction action =
      MapLoopMessage(msg.message, key, controlDown, altDown, TargetOf(msg.hwnd, keyDown, key), typed);
  if (action.command) {
    // A key held down sends its key-down again and again, each saying that the key was down.
    KeyRepeats = keyDown && (msg.lParam & (1 << 30)) != 0;
    Api.SendMessageA(MainWindow, WM_COMMAND, WPARAM(action.command),
                     action.lParamIsWindow ? reinterpret_cast<LPARAM>(msg.hwnd) : 0);
    KeyRepeats = false;
  }
  if (action.withhold || LinesShiftedByTab(msg, controlDown, altDown)) return;
  if (action.translate) Api.TranslateMessage(&msg);
  const KeyUndoStep step(msg);
  Api.DispatchMessageA(&msg);
}
}  // namespace

void RunMessageLoop() {
  MSG msg;
  while (Api.GetMessageA(&msg, nullptr, 0, 0) > 0) HandleQueued(msg);
}

HINSTANCE ProgramInstance() {
  return reinterpret_cast<HINSTANCE>(
      uintptr_t(InstanceFromSlots(GuiState[InstanceLowSlot], GuiState[InstanceHighSlot], sizeof(HINSTANCE))));
}

HWND CreateMainWindow(int width, int height, unsigned long style, int placementMode) {
  CreationWidth = width;
  CreationHeight = height;
  Place = PlaceWindow(placementMode, WorkAreaWidth, WorkAreaHeight, width, height, Place);
  InstanceSlotValues slots = InstanceSlotsFor(reinterpret_cast<uintptr_t>(Api.GetModuleHandleA(nullptr)), sizeof(HINSTANCE));
  GuiState[InstanceLowSlot] = slots.low;
  GuiState[InstanceHighSlot] = slots.high;
  HINSTANCE instance = ProgramInstance();
  if (!ClassRegistered) RegisterMainClass(instance);
  ClassRegistered = true;

  HWND window = Api.CreateWindowExA(0, "wins", "Main Window", style, Place.x, Place.y, CreationWidth,
                                    CreationHeight, nullptr, nullptr, instance, nullptr);
  if (!window) {
    ShowBox("Unable to create window", "problem", MB_ICONHAND);
    return nullptr;
  }
  MainWindow = window;
  Api.DragAcceptFiles(window, TRUE);
  // The toolbar buttons and the status bar join the window here, before it is shown.
  CreateToolbarButtons(window);
  CreateMainStatusBar(window);
  ApplyStatusFont();
  Api.SetWindowTextA(window, "ZorvexIde_2023/24 ->beta ");
  Api.ShowWindow(window, SW_SHOWNORMAL);
  Api.UpdateWindow(window);
  GuiState[WindowSlot] = WindowSlotFor(reinterpret_cast<uintptr_t>(window));
  return window;
}

bool RunMainWindow(int width, int height, unsigned long style, int placementMode) {
  if (!CreateMainWindow(width, height, style, placementMode)) return false;
  RunMessageLoop();
  return true;
}
