// The debugger's protocol: JSON values, their frames, and the three kinds of message.
#include "zorbasic/DebugProtocol.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zb::debug {

namespace {

const Json NullValue;
const std::string NoText;

constexpr int MaxNesting = 64;

void WriteString(std::string& out, const std::string& s) {
  out += '"';
  for (char ch : s) {
    unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04X", c);
          out += buf;
        } else {
          out += ch;
        }
    }
  }
  out += '"';
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool Value(Json& out, int depth) {
    Blanks();
    if (depth > MaxNesting) return Fail("values nested too deep");
    if (p_ >= text_.size()) return Fail("a value is missing");
    char c = text_[p_];
    if (c == '{') return Object(out, depth);
    if (c == '[') return Array(out, depth);
    if (c == '"') {
      std::string s;
      if (!String(s)) return false;
      out = Json(std::move(s));
      return true;
    }
    if (Word("true")) return out = Json(true), true;
    if (Word("false")) return out = Json(false), true;
    if (Word("null")) return out = Json(), true;
    return Number(out);
  }

  bool AtEnd() {
    Blanks();
    return p_ == text_.size();
  }
  const std::string& Error() const { return error_; }

 private:
  bool Fail(const std::string& why) {
    if (error_.empty()) error_ = why + " at byte " + std::to_string(p_);
    return false;
  }
  void Blanks() {
    while (p_ < text_.size() && (text_[p_] == ' ' || text_[p_] == '\t' || text_[p_] == '\r' || text_[p_] == '\n')) ++p_;
  }
  bool Word(std::string_view w) {
    if (text_.substr(p_, w.size()) != w) return false;
    p_ += w.size();
    return true;
  }
  bool Number(Json& out) {
    size_t start = p_;
    if (p_ < text_.size() && text_[p_] == '-') ++p_;
    while (p_ < text_.size() && ((text_[p_] >= '0' && text_[p_] <= '9') || text_[p_] == '.' || text_[p_] == 'e' ||
                                 text_[p_] == 'E' || text_[p_] == '+' || text_[p_] == '-'))
      ++p_;
    std::string digits(text_.substr(start, p_ - start));
    char* end = nullptr;
    double v = digits.empty() ? 0 : std::strtod(digits.c_str(), &end);
    if (digits.empty() || !end || *end != '\0' || !std::isfinite(v)) return Fail("not a value");
    out = Json(v);
    return true;
  }
  static int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }
  bool String(std::string& s) {
    ++p_;  // the opening quote
    while (p_ < text_.size()) {
      char c = text_[p_++];
      if (c == '"') return true;
      if (c != '\\') {
        s += c;
        continue;
      }
      if (p_ >= text_.size()) break;
      char e = text_[p_++];
      switch (e) {
        case '"': case '\\': case '/': s += e; break;
        case 'n': s += '\n'; break;
        case 'r': s += '\r'; break;
        case 't': s += '\t'; break;
        case 'b': s += '\b'; break;
        case 'f': s += '\f'; break;
        case 'u': {
          unsigned code = 0;
          for (int k = 0; k < 4; ++k) {
            int h = p_ < text_.size() ? Hex(text_[p_++]) : -1;
            if (h < 0) return Fail("a \\u escape needs four hexadecimal digits");
            code = code * 16 + static_cast<unsigned>(h);
          }
          // Bytes of the ANSI code page travel as \u0000 ... \u00FF; other characters have no byte.
          s += code <= 0xFF ? static_cast<char>(code) : '?';
          break;
        }
        default: return Fail("an unknown escape");
      }
    }
    return Fail("a string is not closed");
  }
  bool Array(Json& out, int depth) {
    ++p_;
    out = Json::Array();
    Blanks();
    if (p_ < text_.size() && text_[p_] == ']') return ++p_, true;
    for (;;) {
      Json item;
      if (!Value(item, depth + 1)) return false;
      out.Push(std::move(item));
      Blanks();
      if (p_ < text_.size() && text_[p_] == ',') {
        ++p_;
        continue;
      }
      if (p_ < text_.size() && text_[p_] == ']') return ++p_, true;
      return Fail("expected , or ]");
    }
  }
  bool Object(Json& out, int depth) {
    ++p_;
    out = Json::Object();
    Blanks();
    if (p_ < text_.size() && text_[p_] == '}') return ++p_, true;
    for (;;) {
      Blanks();
      std::string key;
      if (p_ >= text_.size() || text_[p_] != '"') return Fail("expected a key");
      if (!String(key)) return false;
      Blanks();
      if (p_ >= text_.size() || text_[p_] != ':') return Fail("expected :");
      ++p_;
      Json value;
      if (!Value(value, depth + 1)) return false;
      out.Set(key, std::move(value));
      Blanks();
      if (p_ < text_.size() && text_[p_] == ',') {
        ++p_;
        continue;
      }
      if (p_ < text_.size() && text_[p_] == '}') return ++p_, true;
      return Fail("expected , or }");
    }
  }

  std::string_view text_;
  size_t p_ = 0;
  std::string error_;
};

}  // namespace

const Json& Json::operator[](std::string_view key) const {
  if (kind_ != Kind::Object) return NullValue;
  for (size_t k = 0; k < keys_.size(); ++k)
    if (keys_[k] == key) return items_[k];
  return NullValue;
}

const Json& Json::operator[](size_t k) const { return kind_ == Kind::Array && k < items_.size() ? items_[k] : NullValue; }

int64_t Json::AsInt(int64_t fallback) const {
  if (kind_ != Kind::Number || !(number_ >= -9.2e18 && number_ <= 9.2e18)) return fallback;
  return static_cast<int64_t>(number_);
}

const std::string& Json::AsString() const { return kind_ == Kind::String ? text_ : NoText; }

Json& Json::Set(std::string_view key, Json value) {
  if (kind_ != Kind::Object) *this = Object();
  for (size_t k = 0; k < keys_.size(); ++k) {
    if (keys_[k] == key) {
      items_[k] = std::move(value);
      return *this;
    }
  }
  keys_.emplace_back(key);
  items_.push_back(std::move(value));
  return *this;
}

Json& Json::Push(Json value) {
  if (kind_ != Kind::Array) *this = Array();
  items_.push_back(std::move(value));
  return *this;
}

std::string Json::Write() const {
  std::string out;
  WriteTo(out);
  return out;
}

void Json::WriteTo(std::string& out) const {
  switch (kind_) {
    case Kind::Null: out += "null"; return;
    case Kind::Bool: out += number_ != 0 ? "true" : "false"; return;
    case Kind::Number: {
      if (number_ == std::floor(number_) && std::fabs(number_) < 9e15) {
        out += std::to_string(static_cast<int64_t>(number_));
      } else {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.17g", number_);
        out += buf;
      }
      return;
    }
    case Kind::String: WriteString(out, text_); return;
    case Kind::Array:
      out += '[';
      for (size_t k = 0; k < items_.size(); ++k) {
        if (k) out += ',';
        items_[k].WriteTo(out);
      }
      out += ']';
      return;
    case Kind::Object:
      out += '{';
      for (size_t k = 0; k < items_.size(); ++k) {
        if (k) out += ',';
        WriteString(out, keys_[k]);
        out += ':';
        items_[k].WriteTo(out);
      }
      out += '}';
      return;
  }
}

bool Json::Parse(std::string_view text, Json& out, std::string& error) {
  Reader r(text);
  Json value;
  if (!r.Value(value, 0)) {
    error = r.Error();
    return false;
  }
  if (!r.AtEnd()) {
    error = "text after the value";
    return false;
  }
  out = std::move(value);
  return true;
}

namespace {

constexpr std::string_view Header = "Content-Length:";

}  // namespace

std::string Frame(const Json& message) {
  std::string body = message.Write();
  return std::string(Header) + " " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

bool FrameReader::Next(Json& message, std::string& error) {
  error.clear();
  for (;;) {
    size_t start = buffer_.find(Header);
    if (start == std::string::npos) {
      // Keep a tail that may be the beginning of a header.
      if (buffer_.size() > Header.size()) {
        if (buffer_.find_first_not_of(" \t\r\n") != std::string::npos) error = "bytes that are no message were skipped";
        buffer_.erase(0, buffer_.size() - Header.size());
      }
      return false;
    }
    if (start > 0) {
      if (buffer_.find_first_not_of(" \t\r\n") < start) error = "bytes that are no message were skipped";
      buffer_.erase(0, start);
    }
    size_t end = buffer_.find("\r\n\r\n");
    if (end == std::string::npos) {
      if (buffer_.size() > 1024) {  // no header is that long
        error = "a damaged header was skipped";
        buffer_.erase(0, Header.size());
        continue;
      }
      return false;
    }
    std::string digits = buffer_.substr(Header.size(), buffer_.find("\r\n") - Header.size());
    size_t first = digits.find_first_not_of(' ');
    digits = first == std::string::npos ? "" : digits.substr(first);
    bool number = !digits.empty() && digits.size() <= 9 && digits.find_first_not_of("0123456789") == std::string::npos;
    size_t length = number ? static_cast<size_t>(std::strtoul(digits.c_str(), nullptr, 10)) : 0;
    if (!number || length > MaxMessageBytes) {
      error = "a damaged header was skipped";
      buffer_.erase(0, Header.size());
      continue;
    }
    size_t body = end + 4;
    if (buffer_.size() - body < length) return false;
    std::string why;
    bool ok = Json::Parse(std::string_view(buffer_).substr(body, length), message, why);
    buffer_.erase(0, body + length);
    if (ok && message.Type() == Json::Kind::Object) return true;
    error = ok ? "a message that is no object was skipped" : "a message that is no JSON was skipped: " + why;
  }
}

Json Request(int64_t seq, std::string_view command, Json arguments) {
  Json m = Json::Object();
  m.Set("seq", Json(seq)).Set("type", "request").Set("command", command).Set("arguments", std::move(arguments));
  return m;
}

Json Response(int64_t seq, const Json& request, bool success, std::string_view message, Json body) {
  Json m = Json::Object();
  m.Set("seq", Json(seq)).Set("type", "response").Set("request_seq", Json(request["seq"].AsInt()));
  m.Set("command", request["command"].AsString()).Set("success", success);
  if (!success) m.Set("message", message);
  m.Set("body", std::move(body));
  return m;
}

Json Event(int64_t seq, std::string_view event, Json body) {
  Json m = Json::Object();
  m.Set("seq", Json(seq)).Set("type", "event").Set("event", event).Set("body", std::move(body));
  return m;
}

}  // namespace zb::debug
