// Find in files: the sources of a folder tree or the files of the project's list, each read
// whole and searched for the word, the lines found listed in the OutputBox in name order.
#include <windows.h>
#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>
#include "base/Bindings_win.h"
#include "base/Handles_win.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "build/BuildState.h"
#include "build/FindFiles.h"
#include "build/FindFilesText.h"
#include "documents/DocumentText.h"
#include "documents/Documents.h"
#include "editor/EditorAccess_win.h"
#include "editor/WordAt.h"

namespace {
constexpr DWORD QuietMilliseconds = 500;     // a shorter search shows no progress
constexpr DWORD ProgressMilliseconds = 100;  // the progress text changes at most this often
constexpr size_t ReadPiece = 1 << 24;        // bytes asked of one ReadFile call
// Opening a file costs far more time waiting than working (under Wine some 0.3 ms a file), so
// several files are read at once by the system's thread pool: at most this many, holding at
// most this many bytes between them (a larger file is read alone).
constexpr size_t FilesAtOnce = 8;
constexpr unsigned long long BytesAtOnce = 96ull << 20;

// A file to search: its full path, its name as the listing shows it, and its size.
struct SearchFile {
  std::string path;
  std::string name;
  unsigned long long size = 0;
};

// Closes a search handle of FindFirstFileA when it goes out of scope.
class FolderSearch {
 public:
  FolderSearch(const std::string& pattern, WIN32_FIND_DATAA& found)
      : handle_(Api.FindFirstFileA(pattern.c_str(), &found)) {}
  FolderSearch(const FolderSearch&) = delete;
  FolderSearch& operator=(const FolderSearch&) = delete;
  ~FolderSearch() {
    if (Valid()) Api.FindClose(handle_);
  }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAA& found) { return Api.FindNextFileA(handle_, &found) != 0; }

 private:
  HANDLE handle_;
};

// A long search shows how far it got in the status bar, and ends early on Esc. The window is
// not repainted meanwhile, but the status bar is, and the queue is looked at so that the
// system does not take the program for hung.
class Progress {
 public:
  Progress() : started_(Api.GetTickCount()) {}
  // Called for every folder and file with how many files were found or searched so far
  // (doing says which); true once the user has pressed Esc.
  bool Stopped(size_t files, const char* doing) {
    DWORD now = Api.GetTickCount();
    if (stopped_ || now - started_ < QuietMilliseconds || now - shown_ < ProgressMilliseconds) return stopped_;
    shown_ = now;
    ShowStatus("Searching: " + std::to_string(files) + " files " + doing + " (Esc stops)");
    MSG msg;
    if (Api.PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && msg.wParam == VK_ESCAPE) {
      Api.PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
      stopped_ = true;
    }
    return stopped_;
  }
  bool Stopped() const { return stopped_; }

 private:
  DWORD started_;
  DWORD shown_ = 0;
  bool stopped_ = false;
};

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
  return folder + "\\" + name;
}

std::string FirstLine(std::string_view text) { return std::string(text.substr(0, text.find_first_of("\r\n"))); }

// The selected text; else the word at the caret (or just before it); else the FindBox's text.
std::string SearchWord() {
  std::string copy;
  std::string_view text = ControlTextView(CurrentEditor, copy);
  size_t start = 0, end = 0;
  ControlSelection(CurrentEditor, start, end);
  if (start > end) std::swap(start, end);
  std::string word;
  if (start < end && start < text.size()) word = FirstLine(text.substr(start, end - start));
  for (int p : {static_cast<int>(start) + 1, static_cast<int>(start)}) {
    int wordEnd = 0, length = 0;
    std::string at = word.empty() ? WordAt(text, p, wordEnd, length) : std::string();
    if (!at.empty() && IsWordCode(static_cast<unsigned char>(at[0]))) word = at;
  }
  if (word.empty()) word = FirstLine(GetControlText(FinderBoxes[FindBox]));
  return word;
}

// The full path of a name the document or the project gives ("$" expanded).
std::string FullName(const std::string& name) { return name.empty() ? name : FullPath(ExpandPath(name)); }

// Every source below folder, sub-folders included, named relative to folder. A folder reached
// through a link is not entered: it may lead back up the tree.
void CollectSources(const std::string& folder, std::vector<SearchFile>& files, Progress& progress) {
  std::vector<std::string> pending{""};
  while (!pending.empty() && !progress.Stopped(files.size(), "found")) {
    std::string relative = std::move(pending.back());
    pending.pop_back();
    WIN32_FIND_DATAA found;
    FolderSearch search(JoinPath(relative.empty() ? folder : JoinPath(folder, relative), "*"), found);
    for (bool more = search.Valid(); more; more = search.Next(found)) {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string inner = relative.empty() ? name : relative + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) pending.push_back(inner);
      } else if (IsSourceName(name)) {
        files.push_back({JoinPath(folder, inner), inner,
                         (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
      }
    }
  }
}

// The files of the project's list, each by its full path.
std::vector<SearchFile> ProjectFiles() {
  ProjectText = GetControlText(FinderBoxes[ProjectBox]);
  std::vector<SearchFile> files;
  for (const std::string& listed : ListedPaths(ProjectText)) {
    std::string path = FullName(listed);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    unsigned long long size = 0;
    if (Api.GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
      size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    files.push_back({path, path, size});
  }
  return files;
}

// The whole file in buffer; false for a file that cannot be read or is larger than
// LargestSearchedFile (it may have grown since the folder was listed).
bool ReadSearchedFile(const std::string& path, std::string& buffer) {
  KernelHandle file(Api.CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!file.Valid() || !Api.GetFileSizeEx(file.Get(), &size) || static_cast<unsigned long long>(size.QuadPart) > LargestSearchedFile)
    return false;
  buffer.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < buffer.size()) {
    DWORD got = 0;
    DWORD asked = static_cast<DWORD>(std::min(buffer.size() - done, ReadPiece));
    if (!Api.ReadFile(file.Get(), buffer.data() + done, asked, &got, nullptr)) return false;
    if (got == 0) break;
    done += got;
  }
  buffer.resize(done);
  return true;
}

// A file read and searched on its own; a file that cannot be read, is too large or binary
// counts as skipped. Runs on a thread of the pool, so nothing may leave it.
Listing ReadAndSearch(const SearchFile& file, const WordSearch& search) {
  Listing listing;
  try {
    std::string text;
    if (file.size <= LargestSearchedFile && ReadSearchedFile(file.path, text) && !IsBinaryHead(text)) {
      listing.searched = 1;
      search.ListLines(text, file.name, listing);
      return listing;
    }
  } catch (...) {
  }
  listing = Listing{};
  listing.skipped = 1;
  return listing;
}

// The document being edited is searched as the editor holds it, so its listed lines are the
// ones the user sees; only the window's thread, which owns the editor, runs this.
Listing SearchEditedText(const SearchFile& file, const WordSearch& search) {
  std::string copy;
  std::string_view text = ControlTextView(CurrentEditor, copy);
  Listing listing;
  if (text.size() > LargestSearchedFile || IsBinaryHead(text)) {
    listing.skipped = 1;
  } else {
    listing.searched = 1;
    search.ListLines(text, file.name, listing);
  }
  return listing;
}

// One file's share of a search and whether it is done.
struct FileSearch {
  const SearchFile* file = nullptr;
  Listing listing;
  std::atomic<bool> done{false};
};

// What the window's thread shares with the pool's threads: one share a file and the event that
// says one is done. The last of them to let go frees it.
struct SearchPool {
  SearchPool(size_t files, const WordSearch& word) : jobs(files), search(word) {}
  std::vector<FileSearch> jobs;
  const WordSearch& search;
  KernelHandle fileDone{Api.CreateEventA(nullptr, FALSE, FALSE, nullptr)};
};

struct PoolTask {
  std::shared_ptr<SearchPool> pool;
  size_t index;
};

DWORD WINAPI SearchOneFile(LPVOID context) {
  std::unique_ptr<PoolTask> task(static_cast<PoolTask*>(context));
  FileSearch& job = task->pool->jobs[task->index];
  job.listing = ReadAndSearch(*job.file, task->pool->search);
  job.done.store(true);
  Api.SetEvent(task->pool->fileDone.Get());
  return 0;
}

// Hands file index to the pool; the edited document, and any file when the pool takes no more
// work, is searched here at once.
void StartFileSearch(const std::shared_ptr<SearchPool>& pool, size_t index, const std::string& edited) {
  FileSearch& job = pool->jobs[index];
  if (!edited.empty() && SameText(job.file->path, edited)) {
    job.listing = SearchEditedText(*job.file, pool->search);
  } else {
    auto task = std::make_unique<PoolTask>(PoolTask{pool, index});
    if (Api.QueueUserWorkItem(SearchOneFile, task.get(), WT_EXECUTEDEFAULT)) {
      task.release();  // the pool's thread owns it now
      return;
    }
    job.listing = ReadAndSearch(*job.file, pool->search);
  }
  job.done.store(true);
}

// Searches the files and lists them in name order: the pool reads and searches a few files
// ahead while this thread adds the finished ones to the listing, shows the progress and looks
// for Esc. It returns only when no pool thread uses the files or the search any more.
Listing SearchFiles(std::vector<SearchFile>& files, const WordSearch& search, Progress& progress) {
  std::sort(files.begin(), files.end(), [](const SearchFile& a, const SearchFile& b) { return NameBefore(a.name, b.name); });
  files.erase(std::unique(files.begin(), files.end(),
                          [](const SearchFile& a, const SearchFile& b) { return SameText(a.path, b.path); }),
              files.end());
  const std::string edited = FullName(SaveName);
  auto pool = std::make_shared<SearchPool>(files.size(), search);
  auto bytesOf = [&](size_t index) { return std::min(files[index].size, LargestSearchedFile); };
  Listing listing;
  size_t queued = 0, added = 0;
  unsigned long long bytesQueued = 0;
  while (added < files.size() && !progress.Stopped(added, "searched")) {
    for (; queued < files.size() && queued - added < FilesAtOnce &&
           (queued == added || bytesQueued + bytesOf(queued) <= BytesAtOnce);
         ++queued) {
      pool->jobs[queued].file = &files[queued];
      bytesQueued += bytesOf(queued);
      StartFileSearch(pool, queued, edited);
    }
    FileSearch& next = pool->jobs[added];
    if (!next.done.load()) {
      Api.WaitForSingleObject(pool->fileDone.Get(), ProgressMilliseconds);
      continue;
    }
    AddFileListing(listing, next.listing);
    next.listing = Listing{};
    bytesQueued -= bytesOf(added);
    ++added;
  }
  // Files still under way after Esc use the file list and the search: wait for them.
  for (size_t k = added; k < queued; ++k)
    while (!pool->jobs[k].done.load()) Api.WaitForSingleObject(pool->fileDone.Get(), ProgressMilliseconds);
  return listing;
}

// The form the project's list gives a file, so that the document is named as the list names
// it and its remembered line follows it; the path itself when the list does not hold it.
std::string ListedForm(const std::string& path) {
  if (ProjectFile.empty()) return path;
  for (const std::string& listed : ListedPaths(GetControlText(FinderBoxes[ProjectBox])))
    if (SameText(FullName(listed), FullName(path))) return listed;
  return path;
}
}  // namespace

void FindInFiles() {
  std::string word = SearchWord();
  OutputShown = 1;
  ListingShown = 0;
  PendingAction = 1;
  if (word.empty()) {
    SetControlText(FinderBoxes[OutputBox],
                   "Nothing to search for: put the caret on a word, select a text or type it in the Find box (Ctrl+F).");
    return;
  }
  Progress progress;
  std::vector<SearchFile> files;
  if (!ProjectFile.empty()) {
    FoundInFolder.clear();
    files = ProjectFiles();
  } else {
    FoundInFolder = SaveName.empty() ? WorkDir : DirPart(FullName(SaveName));
    CollectSources(FoundInFolder, files, progress);
  }
  Listing listing = SearchFiles(files, WordSearch(word), progress);
  std::string text = ListingText(listing);
  if (progress.Stopped())
    text += "\r\nStopped by Esc: " + std::to_string(listing.searched + listing.skipped) + " of " +
            std::to_string(files.size()) + " files looked at";
  SetControlText(FinderBoxes[OutputBox], text);
  ShowStatus(ListingSummary(listing));
}

void GoToListedLine() {
  HWND box = FinderBoxes[OutputBox];
  std::string text = GetControlText(box);
  size_t start = 0, end = 0;
  ControlSelection(box, start, end);
  std::string_view line = LineAround(text, start);
  if (std::optional<ListedHit> hit = HitOfLine(line)) {
    if (OpenListedFile(ListedForm(PathInFolder(FoundInFolder, hit->name)))) GoToLine(CurrentEditor, hit->line);
  } else if (int number = QueryLineOf(line)) {
    GoToLine(CurrentEditor, number);
  }
}
