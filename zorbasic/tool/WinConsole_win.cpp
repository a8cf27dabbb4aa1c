// The Windows side of the tool and the runtimes: console input and output, message boxes,
// the program's own file name and replacing files whole.
#include "zorbasic/tool/WinConsole.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "zorbasic/Utf8Text.h"

namespace zbwin {

namespace {

std::wstring WideOf(std::string_view utf8) {
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

std::string Utf8Of(std::wstring_view wide) {
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr, nullptr);
  return text;
}

// The console behind a standard handle, or null when it leads to a file or a pipe.
HANDLE ConsoleOf(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// How many bytes at the end of text begin a UTF-8 character that the next write completes.
size_t UnfinishedTail(std::string_view text) {
  for (size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    const auto c = static_cast<unsigned char>(text[text.size() - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const size_t needed = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return needed > back ? back : 0;
  }
  return 0;
}

}  // namespace

// A UTF-8 program's text goes to a console as the characters it holds: the console takes
// them whole (WriteConsoleW), whatever code page it has and whatever the C library would do
// with bytes beyond ASCII. Every other program, and output to a file or a pipe, is bytes.
void ConsoleHost::Write(std::string_view text) {
  HANDLE console = utf8 ? ConsoleOf(STD_OUTPUT_HANDLE) : nullptr;
  if (!console) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return;
  }
  std::fflush(stdout);
  pending_.append(text);
  const size_t tail = UnfinishedTail(pending_);
  const std::wstring wide = WideOf(std::string_view(pending_).substr(0, pending_.size() - tail));
  pending_.erase(0, pending_.size() - tail);
  for (size_t done = 0; done < wide.size();) {
    DWORD written = 0;
    const DWORD part = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 16384));
    if (!WriteConsoleW(console, wide.data() + done, part, &written, nullptr) || written == 0) break;
    done += written;
  }
}

bool ConsoleHost::ReadLine(std::string& line) {
  line.clear();
  if (HANDLE console = utf8 ? ConsoleOf(STD_INPUT_HANDLE) : nullptr) {  // typed characters back as UTF-8
    std::wstring typed;
    wchar_t chunk[1024];
    DWORD got = 0;
    while (ReadConsoleW(console, chunk, 1024, &got, nullptr) && got > 0) {
      typed.append(chunk, got);
      if (typed.back() == L'\n') break;
    }
    if (typed.empty()) return false;
    line = Utf8Of(typed);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return true;
  }
  char chunk[4096];
  bool any = false;
  while (std::fgets(chunk, sizeof chunk, stdin)) {
    any = true;
    line += chunk;
    if (!line.empty() && line.back() == '\n') break;
  }
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return any;
}

// user32 is loaded only when a program shows a box: loading it at every start (as an import
// would) costs a console program more time than running a small program does.
void ConsoleHost::ShowBox(const std::string& text) {
  using MessageBoxFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
  using MessageBoxWideFn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
  static HMODULE user32 = LoadLibraryA("user32.dll");
  if (utf8 && user32) {  // a UTF-8 program's text shows as its characters
    auto wideBox = reinterpret_cast<MessageBoxWideFn>(reinterpret_cast<void*>(GetProcAddress(user32, "MessageBoxW")));
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    if (wideBox && (length > 0 || text.empty())) {
      wideBox(nullptr, wide.c_str(), L"Zorvex Basic", MB_OK | MB_SETFOREGROUND);
      return;
    }
  }
  auto box = user32 ? reinterpret_cast<MessageBoxFn>(reinterpret_cast<void*>(GetProcAddress(user32, "MessageBoxA")))
                    : nullptr;
  if (box) box(nullptr, text.c_str(), "Zorvex Basic", MB_OK | MB_SETFOREGROUND);
  else Write("[mbox] " + text + "\n");
}

std::string OwnPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return "";
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string OwnFolder() {
  std::string path = OwnPath();
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? "." : path.substr(0, cut);
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadBinaryFile(const std::string& path, std::string& bytes) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) return false;
  bytes.clear();
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) bytes.append(chunk, got);
  return !std::ferror(f.get());
}

namespace {

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                           reinterpret_cast<char*>(&text), 0, nullptr);
  std::string s = n && text ? std::string(text, n) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.')) s.pop_back();
  return s;
}

}  // namespace

std::string ReplaceFileWhole(const std::string& target, const std::string& bytes) {
  std::string temp = target + ".part~";
  {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(temp.c_str(), "wb"), &std::fclose);
    if (!f) return "cannot create " + temp;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    ok = std::fflush(f.get()) == 0 && ok;
    if (std::fclose(f.release()) != 0 || !ok) {
      DeleteFileA(temp.c_str());
      return "cannot write " + temp + " (is the disk full?)";
    }
  }
  if (!MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD code = GetLastError();
    DeleteFileA(temp.c_str());
    return SystemMessage(code) + (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ? " (is the program still running?)" : "");
  }
  return "";
}

// The program that started the tool may name a file in ZOR5_ERRORS: each error line then goes
// there too, so that program learns how the run ended while the console keeps every line.
void CopyToErrorFile(const std::string& line) {
  char path[MAX_PATH * 4];
  const DWORD n = GetEnvironmentVariableA("ZOR5_ERRORS", path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path, "ab"), &std::fclose);
  if (!f) return;
  const std::string text = line + "\r\n";
  std::fwrite(text.data(), 1, text.size(), f.get());
}

void ErrorLine(const std::string& line) {
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
  CopyToErrorFile(line);
}

uintptr_t ThreadStackFloor(size_t margin) {
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(&info, &info, sizeof info)) return 0;
  return reinterpret_cast<uintptr_t>(info.AllocationBase) + margin;
}

int RunLoaded(const zb::Program& prog) {
  ConsoleHost host;
  host.utf8 = zb::IsUtf8Source(prog.unit.text);
  std::string error;
  int code = zb::Run(prog, host, error);
  if (code) ErrorLine(error);
  return code;
}

}  // namespace zbwin
