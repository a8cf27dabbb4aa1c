// Records as blocks of memory: every field of a record type lies at a fixed offset of its
// record's block, a number in 8 bytes, a string as a std::string, a nested record's fields
// inside it. An array of records keeps its elements in pages of such blocks, each page made
// when one of its elements is first written; an element never written reads as the defaults.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "zorbasic/Front.h"

namespace zb::interp {

// Where each field of one record type lies.
class Layout {
 public:
  size_t bytes = 0;              // one record, a multiple of 8
  std::vector<size_t> offsets;   // per field of the type, in the order declared
  std::vector<size_t> strings;   // every string's offset, nested records' included
  std::vector<std::pair<size_t, size_t>> numbers;  // the spans of numbers between them: offset, bytes

  void Construct(std::byte* at) const;  // default values: numbers 0, strings empty
  void Destroy(std::byte* at) const;
  void Copy(std::byte* to, const std::byte* from) const;
  void Move(std::byte* to, std::byte* from) const;  // from's strings are left empty
  const std::byte* Defaults() const { return defaults_.get(); }
  void MakeDefaults();

  static std::string& Str(std::byte* at) { return *reinterpret_cast<std::string*>(at); }

 private:
  std::unique_ptr<std::byte[]> defaults_;
};

// The layouts of a program's record types, by type index.
std::vector<Layout> LayoutsOf(const Program& prog);

// One record value: a variable's, a parameter's, a function's result.
class Record {
 public:
  explicit Record(const Layout& layout);
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;
  ~Record() { layout_.Destroy(data_.get()); }
  std::byte* Data() { return data_.get(); }
  const std::byte* Data() const { return data_.get(); }
  const Layout& Shape() const { return layout_; }

 private:
  const Layout& layout_;
  std::unique_ptr<std::byte[]> data_;
};

// The elements of an array of records, in pages of PageSize elements.
class RecordPages {
 public:
  static constexpr size_t PageShift = 8;
  static constexpr size_t PageSize = size_t{1} << PageShift;

  RecordPages() = default;
  RecordPages(const RecordPages&) = delete;
  RecordPages& operator=(const RecordPages&) = delete;
  RecordPages(RecordPages&& other) noexcept { *this = std::move(other); }
  RecordPages& operator=(RecordPages&& other) noexcept;
  ~RecordPages() { Clear(); }

  // Elements never written read as the layout's defaults.
  const std::byte* Read(size_t k) const {
    const std::byte* page = pages_[k >> PageShift].get();
    return page ? page + (k & (PageSize - 1)) * layout_->bytes : layout_->Defaults();
  }
  std::byte* Write(size_t k) {
    std::unique_ptr<std::byte[]>& page = pages_[k >> PageShift];
    if (!page) page = NewPage();
    return page.get() + (k & (PageSize - 1)) * layout_->bytes;
  }
  bool Written(size_t k) const { return pages_[k >> PageShift] != nullptr; }

  // Room for count elements of this layout, every one at its defaults.
  void Reset(const Layout* layout, size_t count);
  // A new count of elements: those kept keep their values, the others read as defaults.
  void Resize(size_t count);
  size_t Count() const { return count_; }
  const Layout* Shape() const { return layout_; }
  // Bytes held by the pages made so far.
  size_t BytesHeld() const;

 private:
  std::unique_ptr<std::byte[]> NewPage();
  void FreePage(std::unique_ptr<std::byte[]>& page);
  void Clear();

  const Layout* layout_ = nullptr;
  std::vector<std::unique_ptr<std::byte[]>> pages_;
  size_t count_ = 0;
};

}  // namespace zb::interp
