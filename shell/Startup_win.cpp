// The start-up sequence, from binding the libraries to the end of the process.
#include "shell/Startup.h"
#include <windows.h>
#include "auxwin/Console.h"
#include "auxwin/Welcome_win.h"
#include "base/Bindings_win.h"
#include "base/Scaling_win.h"
#include "base/TextScan.h"
#include "compiler/ErrorCheck.h"
#include "compiler/Launch.h"
#include "commands/CommandState.h"
#include "shell/MainWindowSteps_win.h"
#include "shell/MainWindow_win.h"
#include "shell/ShellState.h"
#include "shell/Toolbar_win.h"
#include "shell/StartupText.h"

namespace {
constexpr UINT ExitStartupFailed = 1;  // a start-up failure must not look like a normal end

// The binding failed, so user32's routines may not be bound: take MessageBoxA directly.
[[noreturn]] void FailBinding(const std::string& missing) {
  using MessageBoxFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
  HMODULE user32 = ::LoadLibraryA("user32.dll");
  auto box = user32 ? reinterpret_cast<MessageBoxFn>(reinterpret_cast<void*>(::GetProcAddress(user32, "MessageBoxA")))
                    : nullptr;
  if (box) box(nullptr, missing.c_str(), "MISSING OR UNLOADABLE", MB_ICONEXCLAMATION);
  FreeLibraries();
  ::ExitProcess(ExitStartupFailed);
}

[[noreturn]] void EndProcess(UINT code) {
  auto exitProcess = Api.ExitProcess;
  // A check still running is cut off at once: ending the process the usual way would run the
  // libraries' clean-up while its thread, stopped anywhere, may hold their locks.
  if (ErrorCheckRunning()) Api.TerminateProcess(Api.GetCurrentProcess(), code);
  FreeLibraries();
  exitProcess(code);
  __builtin_unreachable();
}

void ReadWorkArea() {
  RECT area = {};
  Api.SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  WorkAreaLeft = area.left;
  WorkAreaTop = area.top;
  WorkAreaWidth = area.right;
  WorkAreaHeight = area.bottom;
}

// GDI+ is running while the welcome dialog shows; false when it could not be started.
bool RunWelcome() {
  ULONG_PTR token = 0;
  GdipStartupInput input = {1, nullptr, FALSE, FALSE};
  GdipStatus status = Api.GdiplusStartup(&token, &input, nullptr);
  if (status != 0) {
    ConsoleWrite("Error initializing GDIplus: " + std::to_string(status));
    return false;
  }
  RunWelcomeDialog();
  Api.GdiplusShutdown(token);
  return true;
}

// The program's own files (pictures, icon, editing component) are named relative to the
// current directory, and a shortcut, a file association or a command prompt may start the
// IDE anywhere: in a document's folder it would miss them, or load a SciLexer.dll planted
// there. So start-up works in the program's folder; the creation step goes back to the
// start directory once those files are loaded.
void EnterProgramFolder() {
  StartDirectory = CurrentDirectory();
  Api.SetCurrentDirectoryA(FolderToEnter(GetProgramDir()).c_str());
}

// The toolbar's identifiers, and its pictures for the system's scale: the window, once it
// exists, takes them again if its display has another.
void PrepareToolbar() {
  for (int i = 0; i < 10; ++i) ToolbarIds[i] = 100 + i;
  LoadToolbarPictures(SystemDpi());
}
}  // namespace

uint32_t* guistate() { return GuiState; }

void RunStartup() {
  std::string missing = BindLibraries();
  if (!missing.empty()) FailBinding(missing);
  EnterProgramFolder();
  ReadWorkArea();
  GuiState = guistate();
  Api.zor_trend(9);
  OpenConsole();
  RunGreeting(ConsoleBanner);
  if (!Api.zor_check) ConsoleWrite(NoErrorCheckLine);
  if (!RunWelcome()) EndProcess(ExitStartupFailed);
  Api.zor_trend(9);
  AboutText = ComposeAboutText();
  PrepareToolbar();
  // The size the window is placed for before it takes the settings' one, on the system's scale.
  const DisplayScale system = ScaleOfDpi(SystemDpi());
  bool shown = RunMainWindow(system(580), system(580), WS_OVERLAPPEDWINDOW, 2);
  EndProcess(shown ? 0 : ExitStartupFailed);
}
