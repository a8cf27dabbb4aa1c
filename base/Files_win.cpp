// Whole-file input and output of raw bytes; writes replace the old file in one step, or, where
// that would break a link, write into the file itself with its old content kept until done
// (and not at all where no copy of the old content can be made). One reader serves every
// floor: the documents, the program's own files, the included files the name finder reads and
// the files find in files searches.
#include <windows.h>
#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>
#include "base/Bindings_win.h"
#include "base/Boxes_win.h"
#include "base/Handles_win.h"
#include "base/Files.h"
#include "base/FileText.h"
#include "base/TextScan.h"

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

constexpr DWORD Chunk = 1 << 20;       // bytes per WriteFile call, and per ReadFile call of a copy
constexpr DWORD ReadPiece = 1 << 24;   // bytes asked of one ReadFile call while reading a file whole
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

// Creates a new, empty temporary file beside path, open for reading and writing, and names
// temp after it; the handle is invalid on failure.
HANDLE CreateTempBeside(const std::string& path, TempFile& temp) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = TempNameBeside(path, HexNumber(Api.GetCurrentProcessId()) + "-" + HexNumber(++counter));
    HANDLE file = Api.CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      temp.Name(std::move(name));
      return file;
    }
    DWORD error = Api.GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
  }
  return INVALID_HANDLE_VALUE;
}

// Writes every byte at the file's position; false (with the last error set) when any step fails.
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
  return true;
}

bool Rewind(HANDLE file) { return Api.SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN) != 0; }

// Replaces the whole content of file with text, on disk when it returns true.
bool Overwrite(HANDLE file, std::string_view text) {
  return Rewind(file) && WriteAll(file, text) && Api.SetEndOfFile(file) && Api.FlushFileBuffers(file);
}

// Replaces the whole content of to with the content of from, on disk when it returns true.
bool CopyContent(HANDLE from, HANDLE to) {
  if (!Rewind(from) || !Rewind(to)) return false;
  std::string chunk(Chunk, '\0');
  for (;;) {
    DWORD got = 0;
    if (!Api.ReadFile(from, chunk.data(), Chunk, &got, nullptr)) return false;
    if (got == 0) break;
    if (!WriteAll(to, std::string_view(chunk.data(), got))) return false;
  }
  return Api.SetEndOfFile(to) && Api.FlushFileBuffers(to);
}

// The path the system gives an open file or folder, links resolved; "" when it gives none.
std::string FinalPathOf(HANDLE handle) {
  std::string path(MAX_PATH, '\0');
  DWORD got = Api.GetFinalPathNameByHandleA(handle, path.data(), DWORD(path.size()), FILE_NAME_NORMALIZED);
  if (got >= path.size()) {
    path.resize(got + 1);
    got = Api.GetFinalPathNameByHandleA(handle, path.data(), DWORD(path.size()), FILE_NAME_NORMALIZED);
  }
  if (got == 0 || got >= path.size()) return {};
  path.resize(got);
  return path;
}

KernelHandle OpenForAttributes(const std::string& path, DWORD flags) {
  return KernelHandle(Api.CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, flags, nullptr));
}

// True when the folder's entry of path leads elsewhere: the file that opens is not the folder's
// entry of that name but what a symbolic link in its place points to. (Wine shows a Unix
// symbolic link so, and not as a reparse point.)
bool LeadsElsewhere(const std::string& path, HANDLE file) {
  std::string full = FullPath(path);
  std::string folderName = DirPart(full);
  if (folderName.size() == 2 && folderName[1] == ':') folderName += '\\';  // the root of a drive
  KernelHandle folder = OpenForAttributes(folderName, FILE_FLAG_BACKUP_SEMANTICS);
  if (!folder.Valid()) return false;
  std::string reached = FinalPathOf(file), entry = FinalPathOf(folder.Get());
  if (reached.empty() || entry.empty()) return false;
  if (entry.back() != '\\') entry += '\\';
  return !SameText(reached, entry + NamePart(full));
}

// True when path reaches its content through a link that renaming a new file over the path
// would break: a reparse point (a symbolic link), a file with more than one hard link (the
// others would keep the old content), or a folder entry that leads elsewhere.
bool ReachedThroughLink(const std::string& path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
  KernelHandle file = OpenForAttributes(path, 0);
  if (!file.Valid()) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  if (Api.GetFileInformationByHandle(file.Get(), &info) && info.nNumberOfLinks > 1) return true;
  return LeadsElsewhere(path, file.Get());
}

// A scratch file for the old content of path: beside it, else in the user's temporary folder;
// invalid when neither takes a new file.
HANDLE CreateScratchFor(const std::string& path, TempFile& scratch) {
  HANDLE file = CreateTempBeside(path, scratch);
  if (file != INVALID_HANDLE_VALUE) return file;
  char folder[MAX_PATH + 1] = "";
  DWORD length = Api.GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return INVALID_HANDLE_VALUE;
  return CreateTempBeside(std::string(folder, length) + NamePart(path), scratch);
}

// Writes text into the file at path itself, which stays the same file with its security, owner,
// attributes and links. Its old content is copied to a scratch file first and put back when the
// write fails. 0 or the system's error code; keptCopy names the scratch file when it still holds
// the old content because putting it back failed too.
DWORD WriteInPlace(const std::string& path, std::string_view text, std::string& keptCopy) {
  KernelHandle file(Api.CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return Api.GetLastError();
  TempFile scratch;
  KernelHandle old(CreateScratchFor(path, scratch));
  // Without a whole copy of the old content a failed write could not be undone and would leave
  // the file neither old nor new: write nothing, and the text stays in the editor.
  if (!old.Valid()) {
    DWORD error = Api.GetLastError();
    return error != 0 ? error : ERROR_CANNOT_MAKE;
  }
  if (!CopyContent(file.Get(), old.Get())) return Api.GetLastError();
  if (Overwrite(file.Get(), text)) return 0;
  DWORD error = Api.GetLastError();
  if (!CopyContent(old.Get(), file.Get())) {
    scratch.Keep();
    keptCopy = scratch.Name();
  }
  return error;
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
// old file is unchanged and the temporary file is gone (keptCopy: see WriteInPlace).
DWORD ReplaceContent(const std::string& path, std::string_view text, std::string& keptCopy) {
  DWORD attributes = Api.GetFileAttributesA(path.c_str());
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return ERROR_ACCESS_DENIED;
  if (exists && ReachedThroughLink(path, attributes)) return WriteInPlace(path, text, keptCopy);
  TempFile temp;
  KernelHandle file(CreateTempBeside(path, temp));
  // A folder where no new file may be made still lets its files be written: in place, their old
  // content kept in the temporary folder until the write is done.
  if (!file.Valid()) return exists ? WriteInPlace(path, text, keptCopy) : Api.GetLastError();
  if (!WriteAll(file.Get(), text) || !Api.FlushFileBuffers(file.Get())) return Api.GetLastError();
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

}  // namespace

std::string SystemReason(unsigned long error) {
  char* message = nullptr;
  DWORD length = Api.FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string reason(message ? message : "", message ? length : 0);
  if (message) Api.LocalFree(message);
  while (!reason.empty() && static_cast<unsigned char>(reason.back()) <= ' ') reason.pop_back();
  return reason.empty() ? "System error " + std::to_string(error) + "." : reason;
}

std::string FullPath(const std::string& name) {
  // A "$" name stands for the program's folder and is expanded at every file access; made
  // absolute it would name a folder "$" in the current directory.
  if (name.empty() || name[0] == '$') return name;
  DWORD size = Api.GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
  if (size == 0) return name;
  std::string full(size, '\0');
  DWORD got = Api.GetFullPathNameA(name.c_str(), size, full.data(), nullptr);
  if (got == 0 || got >= size) return name;
  full.resize(got);
  return full;
}

namespace {
uint64_t Joined(DWORD high, DWORD low) { return (uint64_t(high) << 32) | low; }

// Reads the open file into text, which holds room for the size the file had as it was opened;
// a file that grew meanwhile goes on being read up to largest bytes.
FileRead ReadOpenFile(HANDLE file, std::string& text, unsigned long long largest, unsigned long& error) {
  size_t done = 0;
  DWORD got = 0;
  while (done < text.size()) {
    if (!Api.ReadFile(file, text.data() + done, DWORD(std::min<size_t>(text.size() - done, ReadPiece)), &got, nullptr))
      break;
    if (got == 0) {  // it shrank meanwhile
      text.resize(done);
      return FileRead::Whole;
    }
    done += got;
  }
  for (char more[4096]; done == text.size();) {
    if (!Api.ReadFile(file, more, sizeof more, &got, nullptr)) break;
    if (got == 0) return FileRead::Whole;
    if (text.size() + got > largest) return FileRead::TooLarge;
    text.append(more, got);
    done = text.size();
  }
  error = Api.GetLastError();
  return FileRead::Failed;
}
}  // namespace

WholeFile ReadWholeFile(const std::string& path, std::string& text, unsigned long long largest) {
  WholeFile read;
  text.clear();
  if (path.empty()) return read;
  KernelHandle file(Api.CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.Valid()) {
    // Only a file that is not there reads as empty text; one that is there but cannot be
    // opened (held by another program, no access) must not pass for an empty file.
    read.error = Api.GetLastError();
    read.result = read.error == ERROR_FILE_NOT_FOUND || read.error == ERROR_PATH_NOT_FOUND ? FileRead::Missing
                                                                                          : FileRead::Failed;
    return read;
  }
  // A device or a pipe may never end or never answer: the window would wait for it.
  if (Api.GetFileType(file.Get()) != FILE_TYPE_DISK) {
    read.result = FileRead::NotAFile;
    return read;
  }
  // The size and the time of the last write alone: asking for the whole information costs a
  // question about the volume too, which under Wine doubles the time a search of many small
  // files takes.
  LARGE_INTEGER size{};
  FILETIME written{};
  if (!Api.GetFileSizeEx(file.Get(), &size) || !Api.GetFileTime(file.Get(), nullptr, nullptr, &written)) {
    read.error = Api.GetLastError();
    read.result = FileRead::Failed;
    return read;
  }
  read.stamp = {true, static_cast<unsigned long long>(size.QuadPart), Joined(written.dwHighDateTime, written.dwLowDateTime)};
  // A file larger than a string can be in this process, or than was asked for, is refused
  // before reading it.
  largest = std::min<unsigned long long>(largest, text.max_size());
  if (read.stamp.size > largest) {
    read.result = FileRead::TooLarge;
    return read;
  }
  try {
    text.resize(size_t(read.stamp.size));
    read.result = ReadOpenFile(file.Get(), text, largest, read.error);
  } catch (const std::bad_alloc&) {
    read.result = FileRead::TooLarge;
  } catch (const std::length_error&) {
    read.result = FileRead::TooLarge;
  }
  if (read.result != FileRead::Whole) std::string().swap(text);  // give the memory back at once
  return read;
}

std::string ReadTextFile(const std::string& name) {
  std::string text;
  return ReadWholeFile(ExpandPath(name), text).result == FileRead::Whole ? text : std::string();
}

DiskStamp FileStamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!Api.GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return {};
  return {true, Joined(data.nFileSizeHigh, data.nFileSizeLow),
          Joined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
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

std::string TryWriteTextFile(const std::string& name, std::string_view text) {
  std::string path = ExpandPath(name);
  // Where the folder holds the name in more than one letter case and none exactly, the
  // system would pick one of them: another file than the user's might be replaced.
  std::vector<std::string> twins = NamesAlike(path);
  if (twins.size() > 1 && std::find(twins.begin(), twins.end(), NamePart(path)) == twins.end())
    return CaseTwinsText(path, twins);
  std::string keptCopy;
  DWORD error = ReplaceContent(path, text, keptCopy);
  if (error != 0) return WriteFailureText(path, SystemReason(error), keptCopy);
  ReportLeftBehind(path);
  return {};
}

bool WriteTextFile(const std::string& name, std::string_view text) {
  std::string failure = TryWriteTextFile(name, text);
  if (!failure.empty()) ShowBox(failure, "zor", MB_OK | MB_ICONERROR);
  return failure.empty();
}
