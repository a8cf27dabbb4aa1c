// The listing panel: a second door to the editing component, read-only.
#include "editor/Listing_win.h"
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/EditorAccess_win.h"
#include "editor/EditorState.h"
#include "editor/EditorSetup_win.h"
#include "editor/Folding_win.h"
#include "editor/ScintillaDoor_win.h"

namespace {
constexpr COLORREF Rgb(int r, int g, int b) { return COLORREF(r | (g << 8) | (b << 16)); }
constexpr int DefaultStyle = static_cast<int>(Scintilla::StylesCommon::Default);
constexpr int GoneToMarker = 0;
constexpr int FoldMarginWidth = 14;

ScintillaDoor Panel() { return ScintillaDoor(ListingPanel); }

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

void ConfigureListing(HWND control, const std::string& fontName, int fontSize) {
  const ScintillaDoor panel(control);
  panel.SetUndoCollection(false);  // nobody undoes a listing: keep no copy for it
  // Nor does anyone need to hear of each change: no notification per line appended.
  panel.SetModEventMask(Scintilla::ModificationFlags::None);
  panel.StyleSetBack(DefaultStyle, Rgb(255, 255, 255));
  for (const StyleLook& look : Looks) {
    panel.StyleSetFont(look.style, fontName);
    panel.StyleSetSize(look.style, fontSize);
    panel.StyleSetFore(look.style, look.fore);
    panel.StyleSetBold(look.style, look.bold);
  }
  panel.SetMarginWidthN(0, 0);
  panel.SetMarginWidthN(MarkMargin, 0);
  panel.SetMarginTypeN(FoldMargin, Scintilla::MarginType::Symbol);
  panel.SetMarginMaskN(FoldMargin, Scintilla::MaskFolders);
  panel.SetMarginWidthN(FoldMargin, WindowScale(FoldMarginWidth));
  panel.SetMarginSensitiveN(FoldMargin, true);
  DefineFoldMarkers(panel);
  using Scintilla::AutomaticFold;
  panel.SetAutomaticFold(AutomaticFold::Show | AutomaticFold::Click | AutomaticFold::Change);
  panel.MarkerDefine(GoneToMarker, Scintilla::MarkerSymbol::Background);
  panel.MarkerSetBack(GoneToMarker, Rgb(255, 236, 160));
  panel.SetCaretLineVisible(true);
  panel.SetCaretLineBack(Rgb(238, 238, 255));
  panel.SetReadOnly(true);
}

void ScaleListingMargins() {
  if (ListingPanel != nullptr) Panel().SetMarginWidthN(FoldMargin, WindowScale(FoldMarginWidth));
}

void ClearListing() {
  PanelFold = {};
  PanelTail.clear();
  if (ListingPanel == nullptr) {
    ShownListingOf.text.clear();
    SetControlText(FinderBoxes[OutputBox], "");
    return;
  }
  const ScintillaDoor panel = Panel();
  panel.SetReadOnly(false);
  panel.ClearAll();
  panel.SetReadOnly(true);
  panel.MarkerDeleteAll(-1);
}

void AppendListing(std::string_view lines) {
  if (lines.empty()) return;
  if (ListingPanel == nullptr) {
    ShownListingOf.text = GetControlText(FinderBoxes[OutputBox]) + std::string(lines);
    SetControlText(FinderBoxes[OutputBox], ShownListingOf.text);
    return;
  }
  const ScintillaDoor panel = Panel();
  const size_t length = size_t(panel.Length());
  panel.SetReadOnly(false);
  panel.AppendText(lines);
  panel.SetReadOnly(true);
  // The line left open by the last call is read again whole, with what ends it now.
  std::string restyled = PanelTail + std::string(lines);
  const size_t from = length - PanelTail.size();
  std::string styles = StylesOf(restyled);
  panel.StartStyling(ScintillaDoor::Position(from));
  panel.SetStylingEx(styles);

  std::vector<std::string_view> split = SplitLines(restyled);
  PanelTail.clear();
  if (!EndsLine(restyled) && !split.empty()) {
    PanelTail = std::string(split.back());
    split.pop_back();
  }
  const int firstLine = int(panel.LineFromPosition(ScintillaDoor::Position(from)));
  FoldLevels fold = ListingFoldLevels(split, PanelFold);
  if (fold.previousIsHeader && firstLine > 0)
    panel.SetFoldLevel(firstLine - 1, int(panel.FoldLevel(firstLine - 1)) | FoldHeader);
  for (size_t i = 0; i < fold.levels.size(); ++i) panel.SetFoldLevel(firstLine + int(i), fold.levels[i]);
}

void ShowListing(Listing listing) {
  const std::string text = std::move(listing.text);
  ShownListingOf = std::move(listing);
  ShownListingOf.text.clear();
  ClearListing();
  AppendListing(text);
  OutputShown = 1;
  ListingShown = ListingPanel != nullptr ? 1 : 0;
  PendingAction = 1;
}

bool ListingShows() { return ListingPanel != nullptr && OutputShown != 0 && ListingShown != 0; }

Listing ShownListing() {
  if (OutputShown == 0) return {};
  if (ListingShows()) {
    Listing shown = ShownListingOf;
    shown.text = std::string(Panel().Text());
    return shown;
  }
  Listing shown;
  shown.text = GetControlText(FinderBoxes[OutputBox]);
  if (ListingPanel == nullptr && !ShownListingOf.text.empty() && shown.text == ShownListingOf.text) return ShownListingOf;
  return shown;
}

int MarkedListingLine() {
  if (ListingShows()) return int(Panel().MarkerNext(0, 1 << GoneToMarker));
  if (OutputMarkedText != GetControlText(FinderBoxes[OutputBox])) OutputMarkedLine = -1;
  return OutputMarkedLine;
}

int ListingCaretLine() {
  if (ListingShows()) {
    const ScintillaDoor panel = Panel();
    return int(panel.LineFromPosition(panel.CurrentPos()));
  }
  size_t start = 0, end = 0;
  ControlSelection(FinderBoxes[OutputBox], start, end);
  return LineIndexAt(GetControlText(FinderBoxes[OutputBox]), start);
}

void MarkListingLine(int line) {
  if (line < 0) return;
  if (!ListingShows()) {
    HWND box = FinderBoxes[OutputBox];
    OutputMarkedText = GetControlText(box);
    OutputMarkedLine = line;
    const std::vector<std::string_view> lines = SplitLines(OutputMarkedText);
    if (size_t(line) >= lines.size()) return;
    const size_t start = size_t(lines[size_t(line)].data() - OutputMarkedText.data());
    SelectAndShow(box, start, start + lines[size_t(line)].size());
    return;
  }
  const ScintillaDoor panel = Panel();
  panel.MarkerDeleteAll(GoneToMarker);
  panel.MarkerAdd(line, GoneToMarker);
  panel.EnsureVisible(line);
  panel.GotoLine(line);
}
