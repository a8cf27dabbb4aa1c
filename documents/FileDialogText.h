// The byte-level parts of the Open and Save As dialogs: the filter list, the name buffer and
// the titles. Platform-free so that they can be checked natively.
#pragma once
#include <string>
#include <string_view>

// Size of the dialog's name buffer, terminating zero included.
constexpr int DialogNameSize = 256;

// "all files", "text", "basic", "include" and "header" with their patterns, each element
// followed by a zero byte and the whole list by a second one.
std::string DefaultFilterList();
// The filter list the dialog gets: the caller's list, or the default one when it is empty.
std::string FilterListOrDefault(std::string_view filter);
// The zero-filled name buffer with the initial name copied in. A name that would not leave
// room for the terminating zero (DialogNameSize bytes or more) is not copied at all, so the
// dialog starts with an empty name field rather than a cut-off path.
std::string DialogNameBuffer(std::string_view initialName);
// The name in the buffer up to its first zero byte.
std::string NameFromBuffer(std::string_view buffer);
// "Save File as" in save mode, "Load File" in open mode.
const char* DialogTitle(bool saveMode);
