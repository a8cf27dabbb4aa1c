// How the debugger shows values: strings in quotes as the language writes them, records as
// {x = 1, y = 2}, arrays as their first elements; long values cut, so a line is ready at once
// even for an array of millions of elements or a string of megabytes.
#include <cstring>

#include "zorbasic/DebugEngine.h"

namespace zb::interp {

const char* const Ellipsis = "\x85";  // "..." as one character of the ANSI code page

namespace {

constexpr size_t FirstElements = 10;
// Beyond this many bytes a value's fingerprint reads samples of it, not all of it.
constexpr size_t FingerprintBytes = size_t{64} << 20;

// The text of a string as the language would write it: quoted parts with "" for a quote,
// control characters as chr(n), joined with &; cut after about room bytes.
std::string Quoted(const std::string& s, size_t room) {
  if (s.empty()) return "\"\"";
  std::string out;
  bool open = false;  // inside a quoted part
  size_t k = 0;
  for (; k < s.size() && out.size() < room; ++k) {
    unsigned char c = static_cast<unsigned char>(s[k]);
    if (c < 32 || c == 127) {
      if (open) out += '"';
      if (!out.empty()) out += " & ";
      out += "chr(" + std::to_string(c) + ")";
      open = false;
      continue;
    }
    if (!open) {
      if (!out.empty()) out += " & ";
      out += '"';
      open = true;
    }
    out += c == '"' ? std::string("\"\"") : std::string(1, static_cast<char>(c));
  }
  if (k < s.size()) {
    if (!open) out += " & \"";
    out += Ellipsis;
    out += "\" (" + std::to_string(s.size()) + " characters)";
    return out;
  }
  if (open) out += '"';
  return out;
}

ValueRef Element(const Array& a, Type t, size_t k) {
  switch (KindOf(t)) {
    case Kind::Float: return {t, &a.floats[k]};
    case Kind::Str: return {t, &a.strs[k]};
    case Kind::Rec: return {t, a.recs.Read(k)};
    default: return {t, &a.ints[k]};
  }
}

size_t Count(const Array& a) { return static_cast<size_t>(a.cols ? a.rows * a.cols : a.rows); }

void Show(const Program& prog, const std::vector<Layout>& layouts, const ValueRef& v, size_t room, std::string& out);

void ShowRecord(const Program& prog, const std::vector<Layout>& layouts, Type t, const std::byte* at, size_t room,
                std::string& out) {
  const RecType& r = prog.types[static_cast<size_t>(t.rec)];
  const Layout& l = layouts[static_cast<size_t>(t.rec)];
  size_t limit = out.size() + room;
  out += '{';
  for (size_t k = 0; k < r.fields.size(); ++k) {
    if (k) out += ", ";
    if (out.size() >= limit) {
      out += Ellipsis;
      break;
    }
    out += r.fields[k].name + " = ";
    size_t left = limit > out.size() ? limit - out.size() : 8;
    Show(prog, layouts, {r.fields[k].type, at + l.offsets[k]}, left, out);
  }
  out += '}';
}

void ShowArray(const Program& prog, const std::vector<Layout>& layouts, const ValueRef& v, size_t room, std::string& out) {
  const Array& a = *v.array;
  size_t n = Count(a);
  size_t limit = out.size() + room;
  out += '{';
  for (size_t k = 0; k < n; ++k) {
    if (k) out += ", ";
    if (k == FirstElements || out.size() >= limit) {
      out += Ellipsis;
      break;
    }
    size_t left = limit > out.size() ? limit - out.size() : 8;
    Show(prog, layouts, Element(a, v.type, k), left, out);
  }
  out += '}';
}

void Show(const Program& prog, const std::vector<Layout>& layouts, const ValueRef& v, size_t room, std::string& out) {
  if (v.array) return ShowArray(prog, layouts, v, room, out);
  if (!v.at) {
    out += '?';
    return;
  }
  switch (KindOf(v.type)) {
    case Kind::Int: out += FormatInt(*static_cast<const int64_t*>(v.at)); return;
    case Kind::Bool: out += *static_cast<const int64_t*>(v.at) ? "true" : "false"; return;
    case Kind::Float: out += FormatFloat(*static_cast<const double*>(v.at)); return;
    case Kind::Str: out += Quoted(*static_cast<const std::string*>(v.at), room); return;
    case Kind::Rec: return ShowRecord(prog, layouts, v.type, static_cast<const std::byte*>(v.at), room, out);
    default: out += '?'; return;
  }
}

// FNV-1a, 64 bits.
struct Hash {
  uint64_t h = 14695981039346656037ULL;
  void Add(const void* data, size_t n) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t k = 0; k < n; ++k) h = (h ^ p[k]) * 1099511628211ULL;
  }
  void Add(const std::string& s) {
    uint64_t n = s.size();
    Add(&n, sizeof n);
    Add(s.data(), s.size());
  }
};

void AddRecord(const Layout& l, const std::byte* at, Hash& h) {
  for (const auto& [offset, n] : l.numbers) h.Add(at + offset, n);
  for (size_t s : l.strings) h.Add(*reinterpret_cast<const std::string*>(at + s));
}

// Takes every element of n, or evenly spread samples of them when they are too many to read.
template <class Each>
void AddElements(size_t n, size_t bytesEach, Each&& each) {
  size_t stride = n * bytesEach > FingerprintBytes ? n * bytesEach / FingerprintBytes + 1 : 1;
  for (size_t k = 0; k < n; k += stride) each(k);
}

}  // namespace

std::string ShowValue(const Program& prog, const std::vector<Layout>& layouts, const ValueRef& v, size_t room) {
  std::string out;
  Show(prog, layouts, v, room, out);
  return out;
}

std::string ShowBounds(const Array& a) {
  if (a.rows == 0 && a.cols == 0) return "";
  if (a.cols == 0) return "1 to " + std::to_string(a.rows);
  return "1 to " + std::to_string(a.rows) + ", 1 to " + std::to_string(a.cols);
}

uint64_t Fingerprint(const std::vector<Layout>& layouts, const ValueRef& v) {
  Hash h;
  if (v.array) {
    const Array& a = *v.array;
    h.Add(&a.rows, sizeof a.rows);
    h.Add(&a.cols, sizeof a.cols);
    switch (KindOf(v.type)) {
      case Kind::Float: AddElements(a.floats.size(), 8, [&](size_t k) { h.Add(&a.floats[k], 8); }); break;
      case Kind::Str: AddElements(a.strs.size(), 16, [&](size_t k) { h.Add(a.strs[k]); }); break;
      case Kind::Rec: {
        const Layout& l = layouts[static_cast<size_t>(v.type.rec)];
        AddElements(Count(a), l.bytes, [&](size_t k) {
          if (a.recs.Written(k)) AddRecord(l, a.recs.Read(k), h);
        });
        break;
      }
      default: AddElements(a.ints.size(), 8, [&](size_t k) { h.Add(&a.ints[k], 8); }); break;
    }
    return h.h;
  }
  if (!v.at) return 0;
  switch (KindOf(v.type)) {
    case Kind::Str: h.Add(*static_cast<const std::string*>(v.at)); break;
    case Kind::Rec: AddRecord(layouts[static_cast<size_t>(v.type.rec)], static_cast<const std::byte*>(v.at), h); break;
    default: h.Add(v.at, 8); break;
  }
  return h.h;
}

std::string ExactValue(const Program& prog, const std::vector<Layout>& layouts, const ValueRef& v) {
  if (v.at && KindOf(v.type) == Kind::Str) return *static_cast<const std::string*>(v.at);
  if (v.at && KindOf(v.type) == Kind::Rec) {
    // Each field's value after its length, so no two records read alike.
    const RecType& r = prog.types[static_cast<size_t>(v.type.rec)];
    const Layout& l = layouts[static_cast<size_t>(v.type.rec)];
    std::string out;
    for (size_t k = 0; k < r.fields.size(); ++k) {
      std::string field = ExactValue(prog, layouts, {r.fields[k].type, static_cast<const std::byte*>(v.at) + l.offsets[k]});
      out += std::to_string(field.size()) + ":" + field;
    }
    return out;
  }
  return ShowValue(prog, layouts, v, SIZE_MAX);
}

}  // namespace zb::interp
