// The standard Open and Save As dialogs.
#pragma once
#include <string>

// Shows the Open dialog ("Load File") or, with saveMode, the Save As dialog ("Save File as"),
// modal and without an owner, and returns the chosen path. initialName fills the name field
// (a full path also picks the starting folder); filter is a zero-separated filter list, the
// default one when empty. Cancel, closing the dialog and dialog errors all give "".
std::string FileDialog(const std::string& initialName, bool saveMode, const std::string& filter);
