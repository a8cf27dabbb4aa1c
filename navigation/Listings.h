// Where the lines of a listing lead: one reading of a listed line as a place, for F6, Shift+F6
// and double-clicks alike, whether the listing shows in the listing panel or in the OutputBox.
// Platform-free.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include "editor/ListingText.h"

// A place a listed line names: a file (empty: the current document) and a 1-based line.
struct ListedPlace {
  std::string file;
  int line = 0;
  bool operator==(const ListedPlace&) const = default;
};

// The place the line of listing names, read by the listing's kind; none for a line that names
// no place (a summary, a blank line).
std::optional<ListedPlace> PlaceOfListedLine(const Listing& listing, std::string_view line);
