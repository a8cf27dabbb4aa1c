// The subs, functions, types and labels of a source, as the name
// finder reads them.
#include "navigation/Declarations.h"
#include "language/Names.h"

std::string DeclarationListing(std::string_view text) {
  NameIndex index;
  ScanNames(index, text);
  std::string listing;
  for (const Declaration& d : GatherNames(index)) {
    if (d.kind != NameKind::Sub && d.kind != NameKind::Function && d.kind != NameKind::Type &&
        d.kind != NameKind::Label)
      continue;
    listing += std::to_string(d.line + 1) + ": " + std::string(d.text) + "\r\n";
  }
  return listing;
}
