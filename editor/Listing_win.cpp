// The listing panel (declared in Listing_win.h).
#include "editor/Listing_win.h"
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/EditorAccess_win.h"
#include "editor/EditorState.h"
#include "editor/SciMessages.h"

namespace {
constexpr COLORREF Rgb(int r, int g, int b) { return COLORREF(r | (g << 8) | (b << 16)); }
constexpr int StyleDefault = 32;
constexpr int GoneToMarker = 0;
constexpr int FoldMargin = 2;
constexpr int FoldMarginWidth = 14;

LRESULT Sci(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return Api.SendMessageA(ListingPanel, message, wParam, lParam);
}

struct StyleLook {
  int style;
  COLORREF fore;
  bool bold;
};
constexpr StyleLook Looks[] = {
    {ListingTextStyle, Rgb(0, 0, 0), false},
    {ListingNameStyle, Rgb(0, 0, 160), true},
    {ListingNumberStyle, Rgb(160, 0, 0), false},
};

// The fold margin's markers (numbers 25..31) as boxes and lines; left alone they would all be
// circles. Folder end, open mid, mid tail, tail, sub, folder, folder open.
struct FoldMark {
  int marker;
  int symbol;
};
constexpr FoldMark FoldMarks[] = {
    {25, 13 /* box plus, connected */}, {26, 15 /* box minus, connected */}, {27, 11 /* T corner */},
    {28, 10 /* L corner */},           {29, 9 /* vertical line */},         {30, 12 /* box plus */},
    {31, 14 /* box minus */},
};

// The styles of text as appended at the end: each line's own, the line breaks in the text style.
std::string StylesOf(std::string_view text) {
  std::string styles(text.size(), ListingTextStyle);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    std::string line = ListingLineStyles(text.substr(start, end - start));
    styles.replace(start, line.size(), line);
    start = end + 1;
  }
  return styles;
}

bool EndsLine(std::string_view text) { return !text.empty() && (text.back() == '\n' || text.back() == '\r'); }
}  // namespace

void ConfigureListing(HWND panel, const std::string& fontName, int fontSize) {
  auto send = [panel](UINT m, WPARAM w, LPARAM l) { Api.SendMessageA(panel, m, w, l); };
  send(SCI_SETUNDOCOLLECTION, 0, 0);  // nobody undoes a listing: keep no copy for it
  // Nor does anyone need to hear of each change: no notification per line appended.
  send(SCI_SETMODEVENTMASK, 0, 0);
  send(SCI_STYLESETBACK, StyleDefault, Rgb(255, 255, 255));
  for (const StyleLook& look : Looks) {
    send(SCI_STYLESETFONT, look.style, reinterpret_cast<LPARAM>(fontName.c_str()));
    send(SCI_STYLESETSIZE, look.style, fontSize);
    send(SCI_STYLESETFORE, look.style, look.fore);
    send(SCI_STYLESETBOLD, look.style, look.bold);
  }
  send(SCI_SETMARGINWIDTHN, 0, 0);
  send(SCI_SETMARGINWIDTHN, 1, 0);
  send(SCI_SETMARGINTYPEN, FoldMargin, SC_MARGIN_SYMBOL);
  send(SCI_SETMARGINMASKN, FoldMargin, LPARAM(SC_MASK_FOLDERS));
  send(SCI_SETMARGINWIDTHN, FoldMargin, WindowScale(FoldMarginWidth));
  send(SCI_SETMARGINSENSITIVEN, FoldMargin, 1);
  for (const FoldMark& mark : FoldMarks) {
    send(SCI_MARKERDEFINE, mark.marker, mark.symbol);
    send(SCI_MARKERSETFORE, mark.marker, Rgb(255, 255, 255));
    send(SCI_MARKERSETBACK, mark.marker, Rgb(128, 128, 128));
  }
  send(SCI_SETAUTOMATICFOLD, SC_AUTOMATICFOLD_SHOW | SC_AUTOMATICFOLD_CLICK | SC_AUTOMATICFOLD_CHANGE, 0);
  send(SCI_MARKERDEFINE, GoneToMarker, SC_MARK_BACKGROUND);
  send(SCI_MARKERSETBACK, GoneToMarker, Rgb(255, 236, 160));
  send(SCI_SETCARETLINEVISIBLE, 1, 0);
  send(SCI_SETCARETLINEBACK, Rgb(238, 238, 255), 0);
  send(SCI_SETREADONLY, 1, 0);
}

void ScaleListingMargins() {
  if (ListingPanel != nullptr) Sci(SCI_SETMARGINWIDTHN, FoldMargin, WindowScale(FoldMarginWidth));
}

void ClearListing() {
  PanelFold = {};
  PanelTail.clear();
  if (ListingPanel == nullptr) {
    SetControlText(FinderBoxes[OutputBox], "");
    return;
  }
  Sci(SCI_SETREADONLY, 0);
  Sci(SCI_CLEARALL);
  Sci(SCI_SETREADONLY, 1);
  Sci(SCI_MARKERDELETEALL, WPARAM(-1));
}

void AppendListing(std::string_view lines) {
  if (lines.empty()) return;
  if (ListingPanel == nullptr) {
    SetControlText(FinderBoxes[OutputBox], GetControlText(FinderBoxes[OutputBox]) + std::string(lines));
    return;
  }
  const size_t length = size_t(Sci(SCI_GETLENGTH));
  Sci(SCI_SETREADONLY, 0);
  Sci(SCI_APPENDTEXT, lines.size(), reinterpret_cast<LPARAM>(lines.data()));
  Sci(SCI_SETREADONLY, 1);
  // The line left open by the last call is read again whole, with what ends it now.
  std::string restyled = PanelTail + std::string(lines);
  const size_t from = length - PanelTail.size();
  std::string styles = StylesOf(restyled);
  Sci(SCI_STARTSTYLING, from, 0);
  Sci(SCI_SETSTYLINGEX, styles.size(), reinterpret_cast<LPARAM>(styles.data()));

  std::vector<std::string_view> split = SplitLines(restyled);
  PanelTail.clear();
  if (!EndsLine(restyled) && !split.empty()) {
    PanelTail = std::string(split.back());
    split.pop_back();
  }
  const int firstLine = int(Sci(SCI_LINEFROMPOSITION, from));
  FoldLevels fold = ListingFoldLevels(split, PanelFold);
  if (fold.previousIsHeader && firstLine > 0)
    Sci(SCI_SETFOLDLEVEL, firstLine - 1, Sci(SCI_GETFOLDLEVEL, firstLine - 1) | FoldHeader);
  for (size_t i = 0; i < fold.levels.size(); ++i) Sci(SCI_SETFOLDLEVEL, firstLine + int(i), fold.levels[i]);
}

void ShowListing(std::string_view text) {
  ClearListing();
  AppendListing(text);
  OutputShown = 1;
  ListingShown = ListingPanel != nullptr ? 1 : 0;
  PendingAction = 1;
}

bool ListingShows() { return ListingPanel != nullptr && OutputShown != 0 && ListingShown != 0; }

std::vector<std::string_view> ListingLines() {
  if (ListingPanel == nullptr) return {};
  LRESULT length = Sci(SCI_GETLENGTH);
  auto* text = reinterpret_cast<const char*>(Sci(SCI_GETCHARACTERPOINTER));
  if (length <= 0 || text == nullptr) return {};
  return SplitLines(std::string_view(text, size_t(length)));
}

int MarkedListingLine() {
  if (ListingPanel == nullptr) return -1;
  return int(Sci(SCI_MARKERNEXT, 0, 1 << GoneToMarker));
}

int ListingCaretLine() {
  if (ListingPanel == nullptr) return -1;
  return int(Sci(SCI_LINEFROMPOSITION, Sci(SCI_GETCURRENTPOS)));
}

void MarkListingLine(int line) {
  if (ListingPanel == nullptr || line < 0) return;
  Sci(SCI_MARKERDELETEALL, GoneToMarker);
  Sci(SCI_MARKERADD, line, GoneToMarker);
  Sci(SCI_ENSUREVISIBLE, line);
  Sci(SCI_GOTOLINE, line);
}
