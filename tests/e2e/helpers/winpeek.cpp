// Test tool that looks at a running program from outside and writes what it sees into a file:
//   winpeek console <program.exe> <outfile> [--attributes | --utf8]
//     the screen text of the program's console, one line per row, trailing blanks removed;
//     with --attributes each row is followed by its text attributes in hex; with --utf8 the
//     characters are written in UTF-8 (else in the console's code page)
//   winpeek status <title> <outfile>
//     the texts of every part of the status bar of the window with that title, one line each
//   winpeek window <title> <outfile>
//     the title of the top-level window with that title and the texts of its child windows
//   winpeek memory <program.exe> <outfile>
//     the program's peak and current committed private memory in bytes, one line each
//   winpeek point <title> <text> <outfile> [--whole]
//     the screen position "x y" of the first character of text in the first child edit box or
//     editing component of the window with that title whose text holds it (with --whole, is it)
//   winpeek modifiers <outfile>
//     "down" or "up" for Ctrl, Shift and Alt as the system's keyboard state has them, one line each
//   winpeek foreground <outfile>
//     the program file name of the process whose window is the foreground one, that window's
//     title and the class name of the control that has the keyboard focus in its thread, one
//     line each (an empty file while no window is the foreground one), once every top-level
//     window has handled what it was sent before: a program told it lost or won the foreground
//     has then acted on it
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
// The program file name of a running process; empty when there is none.
std::string ProcessName(DWORD pid) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return {};
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  std::string name;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (entry.th32ProcessID == pid) name = entry.szExeFile;
  CloseHandle(snapshot);
  return name;
}

DWORD FindProcess(const char* exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD found = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (_stricmp(entry.szExeFile, exeName) == 0) found = entry.th32ProcessID;
  CloseHandle(snapshot);
  return found;
}

bool SaveText(const char* name, const std::string& text) {
  std::FILE* file = std::fopen(name, "wb");
  if (!file) return false;
  std::fwrite(text.data(), 1, text.size(), file);
  return std::fclose(file) == 0;
}

// The child's text as it answers WM_GETTEXT (an edit control keeps its own text, which the
// system's copy of the window text does not follow).
std::string ChildText(HWND child) {
  std::string text(65536, '\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           5000, &got))
    got = 0;
  text.resize(got);
  return text;
}

BOOL CALLBACK AddChildText(HWND child, LPARAM lParam) {
  *reinterpret_cast<std::string*>(lParam) += ChildText(child) + "\n";
  return TRUE;
}

// The child whose text holds a given text, and where.
struct TextSearch {
  const char* text;
  bool whole = false;  // the child's whole text must be the text
  HWND child = nullptr;
  size_t at = 0;
};

BOOL CALLBACK FindChildText(HWND child, LPARAM lParam) {
  auto* search = reinterpret_cast<TextSearch*>(lParam);
  const std::string text = ChildText(child);
  size_t at = search->whole ? (text == search->text ? 0 : std::string::npos) : text.find(search->text);
  if (at == std::string::npos) return TRUE;
  search->child = child;
  search->at = at;
  return FALSE;
}

int PeekPoint(const char* title, const char* text, const char* outName, bool whole) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) return 3;
  TextSearch search{text, whole};
  EnumChildWindows(window, FindChildText, reinterpret_cast<LPARAM>(&search));
  if (!search.child) return 4;
  POINT point = {};
  char cls[32] = {};
  GetClassNameA(search.child, cls, sizeof cls);
  if (std::strcmp(cls, "Scintilla") == 0) {
    // The editing component answers in its own messages: the point of a byte position.
    constexpr UINT PointX = 2164, PointY = 2165;  // SCI_POINTXFROMPOSITION, SCI_POINTYFROMPOSITION
    DWORD_PTR x = 0, y = 0;
    SendMessageTimeoutA(search.child, PointX, 0, LPARAM(search.at), SMTO_ABORTIFHUNG, 5000, &x);
    SendMessageTimeoutA(search.child, PointY, 0, LPARAM(search.at), SMTO_ABORTIFHUNG, 5000, &y);
    point = {static_cast<LONG>(x), static_cast<LONG>(y)};
  } else {
    DWORD_PTR place = 0;
    SendMessageTimeoutA(search.child, EM_POSFROMCHAR, search.at, 0, SMTO_ABORTIFHUNG, 5000, &place);
    point = {static_cast<short>(LOWORD(place)), static_cast<short>(HIWORD(place))};
  }
  ClientToScreen(search.child, &point);
  return SaveText(outName, std::to_string(point.x) + " " + std::to_string(point.y) + "\n") ? 0 : 6;
}

int PeekWindow(const char* title, const char* outName) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) return 3;
  std::string text = std::string(title) + "\n";
  EnumChildWindows(window, AddChildText, reinterpret_cast<LPARAM>(&text));
  return SaveText(outName, text) ? 0 : 6;
}

// A console row's characters in UTF-8, whatever code page the console has.
std::string Utf8Row(HANDLE out, SHORT row, SHORT width) {
  std::wstring wide(static_cast<size_t>(width), L' ');
  DWORD got = 0;
  ReadConsoleOutputCharacterW(out, wide.data(), width, {0, row}, &got);
  wide.resize(got);
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string line(static_cast<size_t>(length > 0 ? length : 0), ' ');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), line.data(), length, nullptr, nullptr);
  return line;
}

// The status bar answers its parts' texts into memory of its own process: the text is asked
// into a buffer made there and read back from it.
int PeekStatus(const char* title, const char* outName) {
  HWND window = FindWindowA(nullptr, title);
  HWND status = window ? FindWindowExA(window, nullptr, "msctls_statusbar32", nullptr) : nullptr;
  if (!status) return 3;
  DWORD pid = 0;
  GetWindowThreadProcessId(status, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 4;
  constexpr SIZE_T Room = 4096;
  void* there = VirtualAllocEx(process, nullptr, Room, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!there) {
    CloseHandle(process);
    return 5;
  }
  std::string text;
  int parts = static_cast<int>(SendMessageA(status, SB_GETPARTS, 0, 0));
  for (int part = 0; part < parts; ++part) {
    char line[Room] = {};
    SIZE_T got = 0;
    if (LOWORD(SendMessageA(status, SB_GETTEXTLENGTHA, part, 0)) < Room) {
      SendMessageA(status, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(there));
      ReadProcessMemory(process, there, line, Room - 1, &got);
    }
    text += std::string(line) + "\n";
  }
  VirtualFreeEx(process, there, 0, MEM_RELEASE);
  CloseHandle(process);
  return SaveText(outName, text) ? 0 : 6;
}

int PeekConsole(const char* exeName, const char* outName, bool attributes, bool utf8) {
  DWORD pid = FindProcess(exeName);
  if (!pid) return 3;
  FreeConsole();
  if (!AttachConsole(pid)) return 4;
  HANDLE out = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (out == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(out, &info)) return 5;
  std::string text;
  for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
    std::string line(info.dwSize.X, ' ');
    std::vector<WORD> attrs(info.dwSize.X);
    DWORD got = 0;
    ReadConsoleOutputCharacterA(out, line.data(), info.dwSize.X, {0, row}, &got);
    if (utf8) line = Utf8Row(out, row, info.dwSize.X);
    ReadConsoleOutputAttribute(out, attrs.data(), info.dwSize.X, {0, row}, &got);
    size_t end = line.find_last_not_of(' ');
    line.resize(end == std::string::npos ? 0 : end + 1);
    text += line + "\n";
    if (attributes) {
      for (size_t i = 0; i < line.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", attrs[i] & 0xFF);
        text += hex;
      }
      text += "\n";
    }
  }
  FreeConsole();
  return SaveText(outName, text) ? 0 : 6;
}
int PeekMemory(const char* exeName, const char* outName) {
  DWORD pid = FindProcess(exeName);
  HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid) : nullptr;
  if (!process) return 3;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  BOOL got = GetProcessMemoryInfo(process, &counters, sizeof counters);
  CloseHandle(process);
  if (!got) return 5;
  return SaveText(outName, std::to_string(counters.PeakPagefileUsage) + "\n" +
                               std::to_string(counters.PagefileUsage) + "\n") ? 0 : 6;
}
int PeekModifiers(const char* outName) {
  std::string text;
  for (int key : {VK_CONTROL, VK_SHIFT, VK_MENU}) text += (GetAsyncKeyState(key) & 0x8000) ? "down\n" : "up\n";
  return SaveText(outName, text) ? 0 : 6;
}
BOOL CALLBACK Settle(HWND window, LPARAM) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  return TRUE;
}

int PeekForeground(const char* outName) {
  // Twice: a program that acted on the first message may have more to do before it waits again.
  for (int round = 0; round < 2; ++round) EnumWindows(Settle, 0);
  HWND window = GetForegroundWindow();
  std::string text;
  if (window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[1024] = {}, focusClass[256] = {};
    GetWindowTextA(window, title, sizeof title);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus)
      GetClassNameA(thread.hwndFocus, focusClass, sizeof focusClass);
    text = ProcessName(pid) + "\n" + title + "\n" + focusClass + "\n";
  }
  return SaveText(outName, text) ? 0 : 6;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "console") == 0)
    return PeekConsole(argv[2], argv[3], argc > 4 && std::strcmp(argv[4], "--attributes") == 0,
                       argc > 4 && std::strcmp(argv[4], "--utf8") == 0);
  if (argc >= 4 && std::strcmp(argv[1], "status") == 0) return PeekStatus(argv[2], argv[3]);
  if (argc >= 4 && std::strcmp(argv[1], "window") == 0) return PeekWindow(argv[2], argv[3]);
  if (argc >= 4 && std::strcmp(argv[1], "memory") == 0) return PeekMemory(argv[2], argv[3]);
  if (argc >= 3 && std::strcmp(argv[1], "modifiers") == 0) return PeekModifiers(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "foreground") == 0) return PeekForeground(argv[2]);
  if (argc >= 5 && std::strcmp(argv[1], "point") == 0) return PeekPoint(argv[2], argv[3], argv[4], argc >= 6 && std::strcmp(argv[5], "--whole") == 0);
  std::fprintf(stderr, "usage: winpeek console <program.exe> <outfile> [--attributes | --utf8] | status <title> <outfile> | window <title> <outfile> | memory <program.exe> <outfile> | modifiers <outfile> | point <title> <text> <outfile> [--whole]\n");
  return 2;
}
