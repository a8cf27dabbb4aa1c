// A fresh folder below the current one for the files of one test, removed with its files
// at the end, and whole-file helpers that do not go through the program's own code.
#pragma once
#include <windows.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void Spill(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The long-path form of a full path, as the wide file routines take it past MAX_PATH.
inline std::wstring LongForm(const std::string& path) {
  std::wstring wide(path.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  return L"\\\\?\\" + wide;
}

class ScratchFolder {
 public:
  ScratchFolder() {
    static int counter = 0;
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    path_ = std::string(current) + "\\scratch" + std::to_string(GetTickCount()) + "_" + std::to_string(++counter);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() { RemoveTree(LongForm(path_)); }
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  // Names of the entries in the folder (files and folders), for checking what was left behind.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }

 private:
  // Removes the folder with all it holds, however deep (a link is removed, not followed).
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::wstring name = found.cFileName, entry = folder + L"\\" + name;
        if (name == L"." || name == L"..") continue;
        SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileW(entry.c_str());
        else if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
          RemoveDirectoryW(entry.c_str());
        else
          RemoveTree(entry);
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::string path_;
};
