// Find in files: the sources of a folder tree or the files of the project's list, each read
// whole and searched for the word, the lines found listed in the listing panel in name order
// while the search runs. A search runs on a thread of its own, as the check as you type does:
// it posts what it found to the main window in batches, and the window keeps answering, its
// keys going to the editor, meanwhile. Esc or a new search stops it through its flag.
#include <windows.h>
#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>
#include "base/AppMessages_win.h"
#include "base/Bindings_win.h"
#include "base/Files.h"
#include "base/Handles_win.h"
#include "base/SharedState.h"
#include "base/StatusRule.h"
#include "base/TextScan.h"
#include "base/StatusBar_win.h"
#include "navigation/FindFiles.h"
#include "navigation/FindFilesText.h"
#include "navigation/NavigationState.h"
#include "documents/DocumentText.h"
#include "documents/Documents.h"
#include "editor/CodePage_win.h"
#include "editor/EditorAccess_win.h"
#include "editor/ListingText.h"
#include "editor/Listing_win.h"
#include "language/CharClasses.h"
#include "language/SourceFiles.h"
#include "language/WordAt.h"

namespace {
constexpr DWORD QuietMilliseconds = 500;     // a shorter search shows no progress
constexpr DWORD ProgressMilliseconds = 100;  // the progress text changes at most this often
// Opening a file costs far more time waiting than working (under Wine some 0.3 ms a file), so
// several files are read at once by this many readers of the system's thread pool, holding at
// most BytesAtOnce between them (a larger file is read alone).
constexpr size_t FilesAtOnce = 4;
constexpr unsigned long long BytesAtOnce = 96ull << 20;
// The longest path the ANSI file routines take, without its terminating NUL.
constexpr size_t LongestPath = MAX_PATH - 1;
constexpr const char* NothingToSearch =
    "Nothing to search for: put the caret on a word, select a text or type it in the Find box (Ctrl+F).";

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
      : handle_(Api.FindFirstFileA(pattern.c_str(), &found)), error_(Valid() ? 0 : Api.GetLastError()) {}
  FolderSearch(const FolderSearch&) = delete;
  FolderSearch& operator=(const FolderSearch&) = delete;
  ~FolderSearch() {
    if (Valid()) Api.FindClose(handle_);
  }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // The system's reason when the search could not start.
  DWORD Error() const { return error_; }
  bool Next(WIN32_FIND_DATAA& found) { return Api.FindNextFileA(handle_, &found) != 0; }

 private:
  HANDLE handle_;
  DWORD error_;
};

// What a search hands to the window: lines to add to the listing, a text for the status bar,
// and whether it is the last news of the search. Posted with SearchNewsMessage; the window
// takes it over.
struct SearchNews {
  std::string lines;
  std::string status;
  bool done = false;
};

// A search as its thread runs it: what to search, given by the window's thread at the start,
// and the flag by which Esc or a new search stops it.
struct SearchJob {
  HWND window = nullptr;
  unsigned number = 0;  // posted with each news, so that a stopped search's late news is dropped
  std::string word;
  std::string folder;               // the folder searched; empty for the project's list
  std::vector<std::string> listed;  // the project's files by full path
  std::string edited;               // the full path of the document being edited, empty if untitled
  std::string editedText;           // its text as the editor held it when the search started
  std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);
};

// Hands news to the window; dropped when the window is gone.
void Post(const SearchJob& job, SearchNews news) {
  auto owned = std::make_unique<SearchNews>(std::move(news));
  if (Api.PostMessageA(job.window, SearchNewsMessage, job.number, reinterpret_cast<LPARAM>(owned.get())))
    owned.release();  // the window owns it now
}

// A long search shows how far it got in the status bar, and ends early on its stop flag.
class Progress {
 public:
  explicit Progress(const SearchJob& job) : job_(job), started_(Api.GetTickCount()) {}
  // Called while files are found or searched with how many so far (doing says which); true
  // once the search is to stop.
  bool Stopped(size_t files, const char* doing) {
    if (job_.stop->load()) stopped_ = true;
    DWORD now = Api.GetTickCount();
    if (stopped_ || now - started_ < QuietMilliseconds || now - shown_ < ProgressMilliseconds) return stopped_;
    shown_ = now;
    Post(job_, {"", "Searching: " + Counted(files, "file") + " " + doing + " (Esc stops)", false});
    return stopped_;
  }
  bool Stopped() const { return stopped_; }

 private:
  const SearchJob& job_;
  DWORD started_;
  DWORD shown_ = 0;
  bool stopped_ = false;
};

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
  return folder + "\\" + name;
}

std::string FirstLine(std::string_view text) { return std::string(text.substr(0, text.find_first_of("\r\n"))); }

// The selected text; else the word at the caret (or just before it); else the FindBox's text
// once the user has typed into it. A selection of blanks is no word.
std::string SearchWord() {
  std::string copy;
  std::string_view text = ControlTextView(CurrentEditor, copy);
  size_t start = 0, end = 0;
  ControlSelection(CurrentEditor, start, end);
  if (start > end) std::swap(start, end);
  std::string word;
  if (start < end && start < text.size()) word = FirstLine(text.substr(start, end - start));
  if (IsBlankWord(word)) word.clear();
  for (int p : {static_cast<int>(start) + 1, static_cast<int>(start)}) {
    int wordEnd = 0, length = 0;
    std::string at = word.empty() ? WordAt(text, p, wordEnd, length) : std::string();
    if (!at.empty() && IsWordChar(static_cast<unsigned char>(at[0]))) word = at;
  }
  if (word.empty()) word = FirstLine(BoxTextForEditor(FinderBoxes[FindBox]));
  return word == UntouchedBoxText ? std::string() : word;
}

// The full path of a name the document or the project gives ("$" expanded).
std::string FullName(const std::string& name) { return name.empty() ? name : FullPath(ExpandPath(name)); }

DWORD WINAPI RunPoolTask(LPVOID context) {
  std::unique_ptr<std::function<void()>> task(static_cast<std::function<void()>*>(context));
  (*task)();
  return 0;
}

// Runs task on a thread of the system's pool, or here at once when the pool takes no more work.
// The task holds its own share of whatever it uses: the window's thread may stop waiting for it.
void RunOnPool(std::function<void()> task, ULONG flags) {
  auto owned = std::make_unique<std::function<void()>>(std::move(task));
  if (Api.QueueUserWorkItem(RunPoolTask, owned.get(), flags)) {
    owned.release();  // the pool's thread owns it now
    return;
  }
  (*owned)();
}

// The files to search, found on a thread of the pool: listing a folder or asking a file's size
// may wait long on a server that is gone, and the window must still take Esc meanwhile.
struct Collection {
  std::string folder;               // the folder searched; empty for the project's list
  std::vector<std::string> listed;  // the project's files by full path
  std::vector<SearchFile> files;
  size_t skipped = 0;  // sources whose name cannot be given to the file routines
  size_t leftOut = 0;  // folders that cannot be entered
  std::atomic<size_t> found{0};
  std::atomic<bool> stop{false};
  std::atomic<bool> done{false};
  KernelHandle finished{Api.CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

// The path with every link resolved, as the system gives it; empty when it cannot be had.
std::string FinalPath(const std::string& path) {
  KernelHandle handle(Api.CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  char buffer[4 * MAX_PATH];
  DWORD length = handle.Valid() ? Api.GetFinalPathNameByHandleA(handle.Get(), buffer, sizeof buffer, 0) : 0;
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// A folder shown as a link is entered only when it is a mount point (under Wine every folder
// on another file system shows as one): its final path is its parent's and its own name. A link
// that leads elsewhere may lead back up the tree. parentFinal is the parent's final path, read
// at the first such folder of the parent.
bool IsMountPoint(const std::string& parent, const std::string& name, const std::string& path,
                  std::string& parentFinal) {
  if (parentFinal.empty()) parentFinal = FinalPath(parent);
  std::string own = FinalPath(path);
  return !own.empty() && !parentFinal.empty() && SameText(own, JoinPath(parentFinal, name));
}

// The name by which an entry of the folder path is reached: its own name when the ANSI code page
// holds it (a "?" stands for a character it cannot) and the path stays within the file routines'
// limit (a folder's with "\*" after it), else its short name when that does; empty when neither.
std::string ReachableName(const std::string& path, const WIN32_FIND_DATAA& found, bool folder) {
  const size_t room = LongestPath - (folder ? 2 : 0);
  for (const char* name : {found.cFileName, found.cAlternateFileName})
    if (*name != '\0' && std::string_view(name).find('?') == std::string_view::npos &&
        JoinPath(path, name).size() <= room)
      return name;
  return std::string();
}

// Every source below the folder, sub-folders included, named relative to it; the folders that
// cannot be entered are counted.
void CollectSources(Collection& c) {
  std::vector<std::string> pending{""};
  while (!pending.empty() && !c.stop.load()) {
    std::string relative = std::move(pending.back());
    pending.pop_back();
    const std::string path = relative.empty() ? c.folder : JoinPath(c.folder, relative);
    WIN32_FIND_DATAA found;
    FolderSearch search(JoinPath(path, "*"), found);
    if (!search.Valid() && search.Error() != ERROR_FILE_NOT_FOUND) ++c.leftOut;
    std::string parentFinal;
    for (bool more = search.Valid(); more; more = search.Next(found)) {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (!folder && !IsSourceName(name)) continue;
      std::string reached = ReachableName(path, found, folder);
      std::string inner = relative.empty() ? reached : relative + "\\" + reached;
      if (reached.empty()) {
        ++(folder ? c.leftOut : c.skipped);
      } else if (!folder) {
        c.files.push_back({JoinPath(c.folder, inner), inner,
                           (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
        c.found.store(c.files.size());
      } else if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
                 IsMountPoint(path, name, JoinPath(path, reached), parentFinal)) {
        pending.push_back(inner);
      } else {
        ++c.leftOut;
      }
    }
  }
}

// The files of the project's list, each by its full path, with their sizes.
void CollectListed(Collection& c) {
  for (const std::string& path : c.listed) {
    if (c.stop.load()) return;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    unsigned long long size = 0;
    if (Api.GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
      size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    c.files.push_back({path, path, size});
    c.found.store(c.files.size());
  }
}

// Collects on a thread of the pool and waits for it; false when the search was stopped first
// (the collection then stops on its own).
bool Collect(const std::shared_ptr<Collection>& c, Progress& progress) {
  RunOnPool(
      [c] {
        try {
          if (c->folder.empty())
            CollectListed(*c);
          else
            CollectSources(*c);
        } catch (...) {  // out of memory: what was found so far is searched
        }
        c->done.store(true);
        Api.SetEvent(c->finished.Get());
      },
      WT_EXECUTELONGFUNCTION);
  while (!c->done.load()) {
    if (progress.Stopped(c->found.load(), "found")) {
      c->stop.store(true);
      return false;
    }
    Api.WaitForSingleObject(c->finished.Get(), ProgressMilliseconds);
  }
  return true;
}

// A file read and searched on its own; a file that cannot be read, is too large or binary
// counts as skipped. Runs on a thread of the pool, so nothing may leave it.
Findings ReadAndSearch(const SearchFile& file, const WordSearch& search) {
  Findings listing;
  try {
    std::string text;
    // A file that cannot be read, is no file on a disk (a pipe or a device may never end or
    // never answer) or has grown past LargestSearchedFile since the folder was listed is skipped.
    if (file.size <= LargestSearchedFile && ReadWholeFile(file.path, text, LargestSearchedFile).result == FileRead::Whole &&
        !IsBinaryHead(text)) {
      listing.searched = 1;
      search.ListLines(text, file.name, listing);
      return listing;
    }
  } catch (...) {
  }
  listing = Findings{};
  listing.skipped = 1;
  return listing;
}

// The document being edited is searched as the editor held it when the search started, so its
// listed lines are the ones the user saw.
Findings SearchEditedText(const SearchFile& file, const std::string& text, const WordSearch& search) {
  Findings listing;
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
  Findings listing;
  std::atomic<bool> done{false};
};

// What the window's thread shares with the readers of the pool: the files, the word, one share a
// file, the next file to take, and the event the last reader sets when every file is done. The
// window's thread is woken only by that event or by its progress time, never for each file:
// under Wine every wake-up is a trip to the system's server. The last of them to let go frees
// it, so a read that never ends keeps only its own share.
struct SearchPool {
  SearchPool(std::vector<SearchFile> list, const WordSearch& word)
      : files(std::move(list)), jobs(files.size()), search(word) {}
  const std::vector<SearchFile> files;
  std::vector<FileSearch> jobs;
  const WordSearch search;
  std::atomic<size_t> next{0};                // the next file a reader takes
  std::atomic<size_t> readers{0};             // readers still at work
  std::atomic<unsigned long long> bytes{0};   // bytes the readers hold at this moment
  std::atomic<bool> stop{false};              // Esc: the readers take no further file
  KernelHandle allDone{Api.CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

// A reader of the pool: takes the files in their order until none is left or the search stops.
// A file larger than what the readers may hold between them waits until the others let go.
void ReadFiles(const std::shared_ptr<SearchPool>& pool) {
  for (size_t index; !pool->stop.load() && (index = pool->next.fetch_add(1)) < pool->files.size();) {
    FileSearch& job = pool->jobs[index];
    if (job.done.load()) continue;  // the edited document, searched by the window's thread
    const unsigned long long size = std::min(pool->files[index].size, LargestSearchedFile);
    while (pool->bytes.load() > 0 && pool->bytes.load() + size > BytesAtOnce && !pool->stop.load()) Api.Sleep(1);
    pool->bytes += size;
    job.listing = ReadAndSearch(pool->files[index], pool->search);
    pool->bytes -= size;
    job.done.store(true);
  }
  if (pool->readers.fetch_sub(1) == 1) Api.SetEvent(pool->allDone.Get());
}

// Hands the lines found so far to the window, so that the listing grows while the search runs:
// the first lines at once, then at most every ProgressMilliseconds, each batch in one news.
class Feed {
 public:
  explicit Feed(const SearchJob& job) : job_(job) {}
  void Offer(const Findings& listing) {
    if (listing.text.size() == shown_) return;
    const DWORD now = Api.GetTickCount();
    if (shown_ != 0 && now - last_ < ProgressMilliseconds) return;
    Post(job_, {listing.text.substr(shown_), "", false});
    shown_ = listing.text.size();
    last_ = now;
  }
  // The rest of text, whose first bytes the window has already, and the status bar's summary.
  void Finish(std::string_view text, const std::string& status) {
    Post(job_, {std::string(text.substr(std::min(shown_, text.size()))), status, true});
  }

 private:
  const SearchJob& job_;
  size_t shown_ = 0;
  DWORD last_ = 0;
};

// The listings of the files done so far, in the files' order, added to listing from file added
// on; the first file not yet done stops it.
void AddDoneFiles(SearchPool& pool, Findings& listing, size_t& added) {
  for (; added < pool.files.size() && pool.jobs[added].done.load(); ++added) {
    AddFileListing(listing, pool.jobs[added].listing);
    pool.jobs[added].listing = Findings{};
  }
}

// Searches the files and lists them in their order: a few readers of the pool read and search
// them while the search's thread adds the finished ones to the listing at its progress times,
// tells the progress and looks at its stop flag. Once stopped, the files still under way are
// left to finish on their own. The edited document is searched as the editor held it.
Findings SearchFiles(const std::shared_ptr<SearchPool>& pool, const SearchJob& job, Progress& progress, Feed& feed) {
  for (size_t k = 0; !job.edited.empty() && k < pool->files.size(); ++k)
    if (SameText(pool->files[k].path, job.edited)) {
      pool->jobs[k].listing = SearchEditedText(pool->files[k], job.editedText, pool->search);
      pool->jobs[k].done.store(true);
    }
  const size_t readers = std::min(FilesAtOnce, pool->files.size());
  pool->readers.store(readers);
  for (size_t k = 0; k < readers; ++k) RunOnPool([pool] { ReadFiles(pool); }, WT_EXECUTELONGFUNCTION);
  Findings listing;
  size_t added = 0;
  if (readers == 0) return listing;
  // The first hits show as soon as there are any; later ones at the progress times.
  DWORD wait = 10;
  while (added < pool->files.size() && !progress.Stopped(added, "searched")) {
    const bool finished = Api.WaitForSingleObject(pool->allDone.Get(), wait) == WAIT_OBJECT_0;
    AddDoneFiles(*pool, listing, added);
    feed.Offer(listing);
    if (finished) break;
    if (!listing.text.empty()) wait = ProgressMilliseconds;
  }
  pool->stop.store(true);
  return listing;
}

// The project's files by full path, in the list's order.
std::vector<std::string> ProjectPaths() {
  ProjectText = GetControlText(FinderBoxes[ProjectBox]);
  std::vector<std::string> paths;
  for (const std::string& listed : ListedPaths(ProjectText)) paths.push_back(FullName(listed));
  return paths;
}

// The files in the listing's order, each once.
void SortFiles(std::vector<SearchFile>& files) {
  std::sort(files.begin(), files.end(), [](const SearchFile& a, const SearchFile& b) { return NameBefore(a.name, b.name); });
  files.erase(std::unique(files.begin(), files.end(),
                          [](const SearchFile& a, const SearchFile& b) { return SameText(a.path, b.path); }),
              files.end());
}

}  // namespace

std::string ListedForm(const std::string& path) {
  if (ProjectFile.empty()) return path;
  for (const std::string& listed : ListedPaths(GetControlText(FinderBoxes[ProjectBox])))
    if (SameText(FullName(listed), FullName(path))) return listed;
  return path;
}

namespace {
// The search's own thread: collects the files, searches them and posts what it finds.
void RunSearch(const SearchJob& job) {
  Progress progress(job);
  Feed feed(job);
  auto collection = std::make_shared<Collection>();
  collection->folder = job.folder;
  collection->listed = job.listed;
  Findings listing;
  size_t total = 0;
  if (Collect(collection, progress)) {
    std::vector<SearchFile> files = std::move(collection->files);
    SortFiles(files);
    total = files.size() + collection->skipped;
    listing = SearchFiles(std::make_shared<SearchPool>(std::move(files), WordSearch(job.word)), job, progress, feed);
    listing.skipped += collection->skipped;
    listing.leftOut += collection->leftOut;
  } else {
    total = collection->found.load();
  }
  std::string text = ListingText(listing);
  if (progress.Stopped())
    text += "\r\nStopped by Esc: " + std::to_string(listing.searched + listing.skipped) + " of " +
            Counted(total, "file") + " looked at";
  feed.Finish(text, ListingSummary(listing));
}

DWORD WINAPI SearchThread(LPVOID context) {
  std::unique_ptr<std::shared_ptr<SearchJob>> job(static_cast<std::shared_ptr<SearchJob>*>(context));
  try {
    RunSearch(**job);
  } catch (...) {  // out of memory: the search ends with what the window has
    Post(**job, {"", "", true});
  }
  return 0;
}
}  // namespace

void StopFindInFiles() {
  if (SearchStop) SearchStop->store(true);
}

bool FindInFilesRunning() { return SearchStop != nullptr; }

void FindInFiles() {
  if (KeyRepeats) return;  // Ctrl+F7 held down: its first key-down started the search
  // A search still running stops, and what it still posts is dropped.
  StopFindInFiles();
  SearchStop.reset();
  ++SearchNumber;
  std::string word = SearchWord();
  if (IsBlankWord(word)) {
    ShowListing({ListingKind::Search, NothingToSearch, "", ""});
    ShowStatus(NothingToSearch);
    return;
  }
  auto job = std::make_shared<SearchJob>();
  job->window = MainWindow;
  job->number = SearchNumber;
  job->word = std::move(word);
  job->folder = ProjectFile.empty() ? (SaveName.empty() ? WorkDir : DirPart(FullName(SaveName))) : std::string();
  if (!ProjectFile.empty()) job->listed = ProjectPaths();
  job->edited = FullName(SaveName);
  if (!job->edited.empty()) {
    std::string copy;
    job->editedText = std::string(ControlTextView(CurrentEditor, copy));
  }
  // The panel takes its place now, not after the search, so that it shows the lines as they come.
  ShowListing({ListingKind::Search, "", job->folder, ""});
  if (MainWindow != nullptr) Api.SendMessageA(MainWindow, WM_SIZE, 0, 0);
  auto context = std::make_unique<std::shared_ptr<SearchJob>>(job);
  HANDLE thread = Api.CreateThread(nullptr, 0, SearchThread, context.get(), 0, nullptr);
  if (thread == nullptr) {
    ShowStatus("Find in files could not start: the system has no room for another thread");
    return;
  }
  context.release();  // the thread owns it now
  Api.CloseHandle(thread);
  SearchStop = job->stop;
}

void OnSearchNews(uintptr_t number, intptr_t news) {
  std::unique_ptr<SearchNews> taken(reinterpret_cast<SearchNews*>(news));
  if (!taken || number != SearchNumber) return;  // the news of a search a newer one stopped
  AppendListing(taken->lines);
  if (ListingPanel != nullptr) Api.UpdateWindow(ListingPanel);
  if (!taken->status.empty()) ShowStatus(taken->status);
  if (taken->done) SearchStop.reset();
}
