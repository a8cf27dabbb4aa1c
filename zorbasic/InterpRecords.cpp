// Records as blocks of memory, and the pages of arrays of records.
#include "zorbasic/InterpRecords.h"

#include <cstring>
#include <new>

namespace zb::interp {

namespace {

constexpr size_t Word = 8;
// A string's room in a block, rounded up so the numbers after it stay 8-byte aligned.
constexpr size_t StrBytes = (sizeof(std::string) + Word - 1) / Word * Word;

// Lays out the fields of type index t from offset `at`, nested records in place; returns the
// offset after them.
size_t Place(const Program& prog, int t, size_t at, Layout& into, bool top) {
  for (const Field& f : prog.types[t].fields) {
    if (top) into.offsets.push_back(at);
    switch (KindOf(f.type)) {
      case Kind::Str:
        into.strings.push_back(at);
        at += StrBytes;
        break;
      case Kind::Rec: at = Place(prog, f.type.rec, at, into, false); break;
      default:
        into.numbers.push_back({at, Word});
        at += Word;
        break;
    }
  }
  return at;
}

// Runs of numbers side by side become one span, so a copy takes each run at once.
void MergeSpans(std::vector<std::pair<size_t, size_t>>& spans) {
  std::vector<std::pair<size_t, size_t>> merged;
  for (const auto& s : spans) {
    if (!merged.empty() && merged.back().first + merged.back().second == s.first) merged.back().second += s.second;
    else merged.push_back(s);
  }
  spans = std::move(merged);
}

}  // namespace

std::vector<Layout> LayoutsOf(const Program& prog) {
  std::vector<Layout> layouts(prog.types.size());
  for (size_t k = 0; k < prog.types.size(); ++k) {
    Layout& l = layouts[k];
    l.bytes = Place(prog, static_cast<int>(k), 0, l, true);
    if (l.bytes == 0) l.bytes = Word;  // a record without fields still has an address of its own
    MergeSpans(l.numbers);
    l.MakeDefaults();
  }
  return layouts;
}

void Layout::Construct(std::byte* at) const {
  std::memset(at, 0, bytes);
  for (size_t s : strings) new (at + s) std::string();
}

void Layout::Destroy(std::byte* at) const {
  for (size_t s : strings) Str(at + s).~basic_string();
}

void Layout::Copy(std::byte* to, const std::byte* from) const {
  if (to == from) return;
  for (const auto& [at, n] : numbers) std::memcpy(to + at, from + at, n);
  for (size_t s : strings) Str(to + s) = *reinterpret_cast<const std::string*>(from + s);
}

void Layout::Move(std::byte* to, std::byte* from) const {
  if (to == from) return;
  for (const auto& [at, n] : numbers) std::memcpy(to + at, from + at, n);
  for (size_t s : strings) {
    Str(to + s) = std::move(Str(from + s));
    Str(from + s).clear();
  }
}

void Layout::MakeDefaults() {
  defaults_.reset(new std::byte[bytes]);
  Construct(defaults_.get());
}

Record::Record(const Layout& layout) : layout_(layout), data_(new std::byte[layout.bytes]) { layout.Construct(data_.get()); }

RecordPages& RecordPages::operator=(RecordPages&& other) noexcept {
  if (this == &other) return *this;
  Clear();
  layout_ = other.layout_;
  pages_ = std::move(other.pages_);
  count_ = other.count_;
  other.pages_.clear();
  other.count_ = 0;
  return *this;
}

void RecordPages::Reset(const Layout* layout, size_t count) {
  Clear();
  layout_ = layout;
  count_ = count;
  pages_.resize((count + PageSize - 1) >> PageShift);
}

void RecordPages::Resize(size_t count) {
  size_t pages = (count + PageSize - 1) >> PageShift;
  for (size_t k = pages; k < pages_.size(); ++k) FreePage(pages_[k]);
  pages_.resize(pages);
  // The cut page's elements past the new end read as defaults if the array grows again.
  if (count < count_ && (count & (PageSize - 1)) && pages_.back()) {
    std::byte* page = pages_.back().get();
    for (size_t k = count & (PageSize - 1); k < PageSize; ++k) {
      layout_->Destroy(page + k * layout_->bytes);
      layout_->Construct(page + k * layout_->bytes);
    }
  }
  count_ = count;
}

size_t RecordPages::BytesHeld() const {
  size_t n = pages_.capacity() * sizeof(pages_[0]);
  for (const auto& p : pages_)
    if (p) n += PageSize * layout_->bytes;
  return n;
}

std::unique_ptr<std::byte[]> RecordPages::NewPage() {
  std::unique_ptr<std::byte[]> page(new std::byte[PageSize * layout_->bytes]);
  if (layout_->strings.empty()) {
    std::memset(page.get(), 0, PageSize * layout_->bytes);
  } else {
    for (size_t k = 0; k < PageSize; ++k) layout_->Construct(page.get() + k * layout_->bytes);
  }
  return page;
}

void RecordPages::FreePage(std::unique_ptr<std::byte[]>& page) {
  if (!page) return;
  if (!layout_->strings.empty())
    for (size_t k = 0; k < PageSize; ++k) layout_->Destroy(page.get() + k * layout_->bytes);
  page.reset();
}

void RecordPages::Clear() {
  for (auto& p : pages_) FreePage(p);
  pages_.clear();
  count_ = 0;
}

}  // namespace zb::interp
