// The reading of listed lines as places.
#include "navigation/Listings.h"
#include "base/TextScan.h"
#include "navigation/FindFilesText.h"

std::optional<ListedPlace> PlaceOfListedLine(const Listing& listing, std::string_view line) {
  const ListedLine read = ReadListedLine(line);
  switch (read.kind) {
    case ListedKind::None:
      return std::nullopt;
    case ListedKind::DocLine:
      return ListedPlace{listing.kind == ListingKind::Query ? std::string() : listing.document, read.line};
    case ListedKind::FileLine:
      break;
  }
  if (listing.kind == ListingKind::Search) return ListedPlace{ListedFile(listing.folder, read.name), read.line};
  return ListedPlace{PathInFolder(listing.kind == ListingKind::Places ? listing.folder : std::string(), read.name),
                     read.line};
}
