// Whole-file input and output of raw bytes; writes replace the old file in one step.
#include <windows.h>
#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>
#include "base/Bindings_win.h"
#include "base/Boxes_win.h"
#include "base/Handles_win.h"
#include "base/TextScan.h"
#include "documents/DocumentText.h"
#include "documents/Documents.h"

namespace {
// Deletes the temporary file unless it was put in place. Declared before the file's handle so
// that the handle is closed first: an open file cannot be deleted.
class TempFile {
 public:
  TempFile() = default;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() { if (!name_.empty() && !kept_) Api.DeleteFileA(name_.c_str()); }
  const std::string& Name() const { return name_; }
  void Name(std::string name) { name_ = std::move(name); }
  void Keep() { kept_ = true; }

 private:
  std::string name_;
  bool kept_ = false;
};

constexpr DWORD Chunk = 1 << 20;  // bytes per ReadFile/WriteFile call
constexpr int RenameAttempts = 5;
constexpr DWORD RenamePauseMs = 100;
// Attributes that a replaced file passes on to its new content.
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                 FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::string HexNumber(unsigned value) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  do { text.insert(text.begin(), digits[value % 16]); value /= 16; } while (value);
  return text;
}

// Creates a new, empty temporary file beside path and names temp after it; the handle is
// invalid on failure.
HANDLE CreateTempBeside(const std::string& path, TempFile& temp) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = TempNameBeside(path, HexNumber(Api.GetCurrentProcessId()) + "-" + HexNumber(++counter));
    HANDLE file = Api.CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      temp.Name(std::move(name));
      return file;
    }
    DWORD error = Api.GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
  }
  return INVALID_HANDLE_VALUE;
}

// Writes every byte and flushes; false (with the last error set) when any step fails.
bool WriteAll(HANDLE file, std::string_view text) {
  for (size_t done = 0; done < text.size();) {
    DWORD part = static_cast<DWORD>(std::min<size_t>(Chunk, text.size() - done));
    DWORD written = 0;
    if (!Api.WriteFile(file, text.data() + done, part, &written, nullptr)) return false;
    if (written != part) {
      Api.SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    done += written;
  }
  return Api.FlushFileBuffers(file) != 0;
}

// Puts the finished temporary file in place of path with one rename, which the file system
// makes atomic: at every moment the file on disk holds either its old content or the new one,
// whole. The old file's attributes pass on to the new content. 0 or the system's error code.
DWORD PutInPlace(const std::string& path, TempFile& temp, DWORD oldAttributes) {
  if (oldAttributes != INVALID_FILE_ATTRIBUTES) {
    DWORD kept = oldAttributes & KeptAttributes;
    Api.SetFileAttributesA(temp.Name().c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
  }
  // Another program that has the file open for a moment (a virus scanner, an indexer) keeps
  // it from being replaced: try again a few times before reporting it.
  for (int attempt = 1;; ++attempt) {
    if (Api.MoveFileExA(temp.Name().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) break;
    DWORD error = Api.GetLastError();
    bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
    if (!busy || attempt == RenameAttempts) return error;
    Api.Sleep(RenamePauseMs);
  }
  temp.Keep();
  return 0;
}

// Replaces the content of path with text; 0 or the system's error code. On failure the
// old file is unchanged and the temporary file is gone.
DWORD ReplaceContent(const std::string& path, std::string_view text) {
  DWORD attributes = Api.GetFileAttributesA(path.c_str());
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return ERROR_ACCESS_DENIED;
  TempFile temp;
  KernelHandle file(CreateTempBeside(path, temp));
  if (!file.Valid()) return Api.GetLastError();
  if (!WriteAll(file.Get(), text)) return Api.GetLastError();
  if (!file.Close()) return Api.GetLastError();
  return PutInPlace(path, temp, attributes);
}

// The names in the folder of path that equal its file name ignoring letter case.
std::vector<std::string> NamesAlike(const std::string& path) {
  std::vector<std::string> names;
  std::string wanted = LowerText(NamePart(path));
  std::string folder = path.size() > NamePart(path).size() ? DirPart(path) + "\\" : std::string();
  WIN32_FIND_DATAA found;
  HANDLE search = Api.FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (LowerText(found.cFileName) == wanted) names.push_back(found.cFileName);
  } while (Api.FindNextFileA(search, &found));
  Api.FindClose(search);
  return names;
}

// Temporary files beside path that no save of this run made: a save was killed or the machine
// stopped while it wrote. Each is reported once, so the user can look at what it holds.
void ReportLeftBehind(const std::string& path) {
  static std::vector<std::string> reported;
  std::string folder = path.size() > NamePart(path).size() ? DirPart(path) + "\\" : std::string();
  std::vector<std::string> fresh;
  WIN32_FIND_DATAA found;
  HANDLE search = Api.FindFirstFileA((folder + "~zor*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string full = folder + found.cFileName;
    if (IsScratchName(found.cFileName) && std::find(reported.begin(), reported.end(), LowerText(full)) == reported.end()) {
      fresh.push_back(found.cFileName);
      reported.push_back(LowerText(full));
    }
  } while (Api.FindNextFileA(search, &found));
  Api.FindClose(search);
  if (!fresh.empty()) ShowBox(LeftBehindText(path, fresh), "zor", MB_OK | MB_ICONWARNING);
}

std::string SystemReason(DWORD error) {
  char* message = nullptr;
  DWORD length = Api.FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string reason(message ? message : "", message ? length : 0);
  if (message) Api.LocalFree(message);
  while (!reason.empty() && static_cast<unsigned char>(reason.back()) <= ' ') reason.pop_back();
  return reason.empty() ? "System error " + std::to_string(error) + "." : reason;
}
}  // namespace

bool ReadWholeFile(const std::string& path, std::string& text, bool& tooLarge) {
  text.clear();
  tooLarge = false;
  KernelHandle file(Api.CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  LARGE_INTEGER size{};
  bool sized = Api.GetFileSizeEx(file.Get(), &size) != 0;
  // A file larger than a string can be in this process is refused before reading it.
  if (sized && static_cast<unsigned long long>(size.QuadPart) > text.max_size()) {
    tooLarge = true;
    return false;
  }
  try {
    if (sized && size.QuadPart > 0) text.reserve(static_cast<size_t>(size.QuadPart));
    std::string chunk(Chunk, '\0');
    for (;;) {
      DWORD got = 0;
      if (!Api.ReadFile(file.Get(), chunk.data(), Chunk, &got, nullptr)) break;
      if (got == 0) return true;
      text.append(chunk, 0, got);
    }
  } catch (const std::bad_alloc&) {
    tooLarge = true;
  } catch (const std::length_error&) {
    tooLarge = true;
  }
  std::string().swap(text);  // give the memory back at once
  return false;
}

std::string ReadTextFile(const std::string& name) {
  std::string text;
  bool tooLarge = false;
  return ReadWholeFile(ExpandPath(name), text, tooLarge) ? text : std::string();
}

bool FileHolds(const std::string& name, std::string_view text) {
  KernelHandle file(Api.CreateFileA(ExpandPath(name).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  // A file that cannot be read reads as empty text, as ReadTextFile gives it.
  if (!file.Valid()) return text.empty();
  LARGE_INTEGER size{};
  if (Api.GetFileSizeEx(file.Get(), &size) && static_cast<unsigned long long>(size.QuadPart) != text.size())
    return false;
  std::string chunk(std::min<size_t>(Chunk, text.size() + 1), '\0');
  size_t done = 0;
  for (;;) {
    DWORD got = 0;
    if (!Api.ReadFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) return text.empty();
    if (got == 0) return done == text.size();
    if (got > text.size() - done || text.compare(done, got, chunk.data(), got) != 0) return false;
    done += got;
  }
}

bool WriteTextFile(const std::string& name, std::string_view text) {
  std::string path = ExpandPath(name);
  // Where the folder holds the name in more than one letter case and none exactly, the
  // system would pick one of them: another file than the user's might be replaced.
  std::vector<std::string> twins = NamesAlike(path);
  if (twins.size() > 1 && std::find(twins.begin(), twins.end(), NamePart(path)) == twins.end()) {
    ShowBox(CaseTwinsText(path, twins), "zor", MB_OK | MB_ICONERROR);
    return false;
  }
  DWORD error = ReplaceContent(path, text);
  if (error != 0) {
    ShowBox(WriteFailureText(path, SystemReason(error)), "zor", MB_OK | MB_ICONERROR);
    return false;
  }
  ReportLeftBehind(path);
  return true;
}

std::string EnterDirectoryOf(const std::string& path) {
  std::string folder = DirPart(ExpandPath(path));
  Api.SetCurrentDirectoryA(FolderToEnter(folder).c_str());
  return folder;
}
