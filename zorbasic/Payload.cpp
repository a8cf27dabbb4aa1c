// Payload bytes: counts and lengths as 32-bit little-endian numbers, strings as their bytes.
#include "zorbasic/Payload.h"

#include <cstring>

namespace zb {

namespace {

void PutNumber(std::string& out, uint64_t v, int bytes) {
  for (int k = 0; k < bytes; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
}

void PutText(std::string& out, std::string_view s) {
  PutNumber(out, s.size(), 4);
  out.append(s);
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : b_(bytes) {}
  bool Number(uint32_t& v) {
    if (b_.size() - p_ < 4) return false;
    v = 0;
    for (int k = 0; k < 4; ++k) v |= static_cast<uint32_t>(static_cast<unsigned char>(b_[p_ + k])) << (8 * k);
    p_ += 4;
    return true;
  }
  bool Text(std::string& s) {
    uint32_t n;
    if (!Number(n) || b_.size() - p_ < n) return false;
    s.assign(b_.substr(p_, n));
    p_ += n;
    return true;
  }
  bool Done() const { return p_ == b_.size(); }

 private:
  std::string_view b_;
  size_t p_ = 0;
};

}  // namespace

std::string SerializeUnit(const Unit& unit) {
  std::string out = "ZORU";
  PutNumber(out, unit.files.size(), 4);
  for (const std::string& f : unit.files) PutText(out, f);
  PutText(out, unit.text);
  PutNumber(out, unit.origins.size(), 4);
  for (const Origin& o : unit.origins) {
    PutNumber(out, static_cast<uint32_t>(o.file), 4);
    PutNumber(out, static_cast<uint32_t>(o.line), 4);
  }
  return out;
}

bool DeserializeUnit(std::string_view bytes, Unit& unit) {
  if (bytes.substr(0, 4) != "ZORU") return false;
  Reader r(bytes.substr(4));
  uint32_t files, lines;
  if (!r.Number(files) || files > bytes.size()) return false;
  unit.files.resize(files);
  for (std::string& f : unit.files)
    if (!r.Text(f)) return false;
  if (!r.Text(unit.text) || !r.Number(lines) || lines > bytes.size()) return false;
  unit.origins.resize(lines);
  for (Origin& o : unit.origins) {
    uint32_t file, line;
    if (!r.Number(file) || !r.Number(line) || file >= files) return false;
    o.file = static_cast<int>(file);
    o.line = static_cast<int>(line);
  }
  return r.Done();
}

std::string AttachPayload(std::string_view runtime, std::string_view payload) {
  std::string out(runtime);
  out.append(payload);
  PutNumber(out, payload.size(), 8);
  out.append(PayloadMark);
  return out;
}

int64_t PayloadLength(std::string_view trailer) {
  if (trailer.size() != PayloadTrailer || trailer.substr(8) != PayloadMark) return -1;
  uint64_t n = 0;
  for (int k = 0; k < 8; ++k) n |= static_cast<uint64_t>(static_cast<unsigned char>(trailer[k])) << (8 * k);
  return n > (1ULL << 40) ? -1 : static_cast<int64_t>(n);
}

}  // namespace zb
