// The console window.
#include "auxwin/Console.h"
#include <windows.h>
#include "base/Bindings_win.h"

namespace {
HANDLE ConsoleIn = INVALID_HANDLE_VALUE;   // console input handle, kept for the process's life
HANDLE ConsoleOut = INVALID_HANDLE_VALUE;  // console output handle, likewise
constexpr DWORD ReadLimit = 4094;          // one read takes at most this many bytes

// Ctrl+C and Ctrl+Break in the console are meant for the programs started there, and closing
// the console window must not take the editor's unsaved text with it: the IDE itself ignores
// these events. (Where the system ends a process after the close event regardless, the close
// command is also taken out of the console window's menu.)
BOOL WINAPI IgnoreConsoleEvents(DWORD event) {
  return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT;
}

// Closing the console window would end the whole process, main window and unsaved editor
// text included: take the close command out of the console window's system menu.
// Where the console window's menu cannot be reached from this process (it belongs to the
// console host), its caption buttons are taken away instead.
void RemoveCloseCommand() {
  HWND window = Api.GetConsoleWindow();
  if (!window) return;
  HMENU menu = Api.GetSystemMenu(window, FALSE);
  if (menu && Api.DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND)) return;
  LONG style = Api.GetWindowLongA(window, GWL_STYLE);
  Api.SetWindowLongA(window, GWL_STYLE, style & ~WS_SYSMENU);
  Api.SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
}  // namespace

void OpenConsole() {
  Api.AllocConsole();
  ConsoleIn = Api.GetStdHandle(STD_INPUT_HANDLE);
  ConsoleOut = Api.GetStdHandle(STD_OUTPUT_HANDLE);
  Api.SetConsoleTitleA("ZorvexBasic");
  Api.SetConsoleCtrlHandler(IgnoreConsoleEvents, TRUE);
  RemoveCloseCommand();
}

void RunGreeting(const std::string& banner) {
  ConsoleWrite(banner);
  ConsoleWrite(" ");
  ConsoleWrite("\r\n Enter text to start.. ");
  Api.SetConsoleTextAttribute(ConsoleOut, 0xF2);
  if (ConsoleRead().empty()) return;
  Api.SetConsoleTextAttribute(ConsoleOut, 0xF4);
  ConsoleWrite("\r\nstart Zorvex:\r\n");
  ConsoleWrite("\r\n");
}

void ConsoleWrite(const std::string& text) {
  DWORD written = 0;
  Api.WriteFile(ConsoleOut, text.data(), DWORD(text.size()), &written, nullptr);
}

std::string ConsoleRead() {
  std::string buffer(ReadLimit, '\0');
  DWORD read = 0;
  if (!Api.ReadFile(ConsoleIn, buffer.data(), ReadLimit, &read, nullptr)) return {};
  buffer.resize(read);
  return buffer;
}
