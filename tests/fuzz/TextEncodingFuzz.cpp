// Fuzzes the UTF-8 rule against a slow reference that decodes each character to its code point
// and encodes it again (a form is well formed only when it is the shortest one, no surrogate and
// not past U+10FFFF), and the document's bytes kept whole through the editor and back.
#include "base/TextEncoding.h"
#include "tests/fuzz/FuzzCheck.h"
#include "zorbasic/Utf8Text.h"

namespace {

std::string Encoded(unsigned long point) {
  std::string out;
  if (point < 0x80) {
    out += static_cast<char>(point);
  } else if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  }
  return out;
}

bool ReferenceWellFormed(std::string_view bytes) {
  for (size_t k = 0; k < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[k]);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || k + length > bytes.size()) return false;
    unsigned long point = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t j = 1; j < length; ++j) {
      const auto next = static_cast<unsigned char>(bytes[k + j]);
      if ((next & 0xC0) != 0x80) return false;
      point = (point << 6) | (next & 0x3F);
    }
    if (point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return false;
    if (Encoded(point) != bytes.substr(k, length)) return false;  // an overlong form
    k += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = InputText(data, size);
  Require(zb::IsWellFormedUtf8(bytes) == ReferenceWellFormed(bytes), "well-formed UTF-8 as the reference decodes it");
  const TextEncoding encoding = EncodingOf(bytes);
  Require(IsUtf8(encoding) == zb::IsUtf8Source(bytes), "the IDE and the compile tool read a file alike");
  std::string storage;
  Require(FileBytesOf(EditorPartOf(bytes, encoding), encoding, storage) == bytes, "the file's bytes come back whole");
  return 0;
}
