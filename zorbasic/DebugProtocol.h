// The debugger's protocol between the IDE and a program run by the compile tool, shaped like
// the Debug Adapter Protocol: the IDE sends requests, each with a sequence number; the tool
// answers each with a response naming that number, and sends events nobody asked for
// ("stopped", "output", "exited"). Every message is a JSON object framed as
//     Content-Length: <bytes of the body>\r\n\r\n<body>
// over any byte stream (a named pipe on Windows, a pipe or a buffer in the tests).
//
// Texts are the system's byte strings (the ANSI code page): a byte from 0x80 up travels as
// \u0080 ... \u00FF and comes back as the same byte. The requests, their arguments and their
// answers' bodies are listed in DebugSession.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zb::debug {

// A JSON value: null, a bool, a number, a string, an array or an object (keys in order).
class Json {
 public:
  enum class Kind { Null, Bool, Number, String, Array, Object };

  Json() = default;
  Json(std::nullptr_t) {}
  Json(bool b) : kind_(Kind::Bool), number_(b ? 1 : 0) {}
  Json(int n) : kind_(Kind::Number), number_(n) {}
  Json(int64_t n) : kind_(Kind::Number), number_(static_cast<double>(n)) {}
  Json(size_t n) : kind_(Kind::Number), number_(static_cast<double>(n)) {}
  Json(double n) : kind_(Kind::Number), number_(n) {}
  Json(const char* s) : kind_(Kind::String), text_(s) {}
  Json(std::string s) : kind_(Kind::String), text_(std::move(s)) {}
  Json(std::string_view s) : kind_(Kind::String), text_(s) {}
  static Json Array() { return Json(Kind::Array); }
  static Json Object() { return Json(Kind::Object); }

  Kind Type() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }

  // An object's member (null when it is missing or this is no object); an array's element.
  const Json& operator[](std::string_view key) const;
  const Json& operator[](size_t k) const;
  size_t Size() const { return items_.size(); }  // elements of an array, members of an object
  const std::string& KeyAt(size_t k) const { return keys_[k]; }

  // Values of their kind, or the fallback when this is another kind.
  bool AsBool(bool fallback = false) const { return kind_ == Kind::Bool ? number_ != 0 : fallback; }
  double AsNumber(double fallback = 0) const { return kind_ == Kind::Number ? number_ : fallback; }
  int64_t AsInt(int64_t fallback = 0) const;
  const std::string& AsString() const;

  // Builders: Set adds or replaces a member of an object, Push appends to an array.
  Json& Set(std::string_view key, Json value);
  Json& Push(Json value);

  std::string Write() const;
  // Reads one JSON text; false with the reason when it is not one (or nests too deep).
  static bool Parse(std::string_view text, Json& out, std::string& error);

 private:
  explicit Json(Kind k) : kind_(k) {}
  void WriteTo(std::string& out) const;

  Kind kind_ = Kind::Null;
  double number_ = 0;
  std::string text_;
  std::vector<std::string> keys_;  // an object's keys, in order
  std::vector<Json> items_;        // an array's elements or an object's values
};

// The longest body a frame may announce: a longer one is damage, not a message.
constexpr size_t MaxMessageBytes = size_t{64} << 20;

// One message with its frame.
std::string Frame(const Json& message);

// Takes the bytes of a stream in pieces of any size and gives back whole messages.
class FrameReader {
 public:
  void Feed(std::string_view bytes) { buffer_.append(bytes); }
  // The next whole message. False when none is complete yet; then error says whether bytes
  // were thrown away because they were no message (the reader goes on at the next header).
  bool Next(Json& message, std::string& error);

 private:
  std::string buffer_;
};

// Messages of each kind. A response names its request's sequence number and command.
Json Request(int64_t seq, std::string_view command, Json arguments = Json::Object());
Json Response(int64_t seq, const Json& request, bool success, std::string_view message = "", Json body = Json::Object());
Json Event(int64_t seq, std::string_view event, Json body = Json::Object());

}  // namespace zb::debug
