// The interpreter's built-in functions.
#include "zorbasic/InterpCore.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace zb::interp {

uint64_t Interp::NextRandom() {
  rng_ ^= rng_ >> 12;
  rng_ ^= rng_ << 25;
  rng_ ^= rng_ >> 27;
  return rng_ * 2685821657736338717ULL;
}

int64_t Interp::Bound(const Expr& e, bool upper) {
  const Expr& name = *e.args[0];
  int64_t dim = e.args.size() == 2 ? AsInt(*e.args[1]) : 1;
  if (dim < 1 || dim > name.i) {
    Fail(e.line, "array " + name.s + " has no dimension " + std::to_string(dim) + " (it has " + std::to_string(name.i) + ")");
  }
  const Array& a = *Slot(name.global, name.slot).arr;
  if (!upper) return 1;
  return dim == 1 ? a.rows : a.cols;
}

int64_t Interp::IntBuiltin(const Expr& e) {
  std::string t1, t2;
  switch (static_cast<Bi>(e.slot)) {
    case Bi::Len: return static_cast<int64_t>(SRef(*e.args[0], t1).size());
    case Bi::Instr: {
      size_t n = e.args.size();
      int64_t start = n == 3 ? AsInt(*e.args[0]) : 1;
      const std::string& s = SHeld(*e.args[n - 2], t1, e.args[n - 1]->calls);
      const std::string& find = SRef(*e.args[n - 1], t2);
      if (start < 1) start = 1;
      if (start > static_cast<int64_t>(s.size()) + 1) return 0;
      size_t at = s.find(find, static_cast<size_t>(start - 1));
      return at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
    }
    case Bi::Asc: {
      const std::string& s = SRef(*e.args[0], t1);
      return s.empty() ? 0 : static_cast<unsigned char>(s[0]);
    }
    case Bi::Abs: {
      int64_t v = I(*e.args[0]);
      return v < 0 ? Sub(0, v) : v;
    }
    case Bi::Sgn: {
      double v = F(*e.args[0]);
      return v > 0 ? 1 : v < 0 ? -1 : 0;
    }
    case Bi::Irnd: {
      int64_t lo = AsInt(*e.args[0]), hi = AsInt(*e.args[1]);
      if (lo > hi) std::swap(lo, hi);
      uint64_t span = static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo) + 1;
      uint64_t pick = span == 0 ? NextRandom() : NextRandom() % span;
      return static_cast<int64_t>(static_cast<uint64_t>(lo) + pick);
    }
    case Bi::Putfile: {
      std::string name = S(*e.args[0]);
      std::string text = Text(*e.args[1]);
      std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(name.c_str(), "wb"), &std::fclose);
      bool ok = f && std::fwrite(text.data(), 1, text.size(), f.get()) == text.size();
      if (f && std::fclose(f.release()) != 0) ok = false;
      if (!ok) Fail(e.line, "cannot write the file " + name);
      return -1;
    }
    case Bi::Ubound: return Bound(e, true);
    case Bi::Lbound: return Bound(e, false);
    default: Fail(e.line, "internal error: no integer built-in");
  }
}

double Interp::FloatBuiltin(const Expr& e) {
  switch (static_cast<Bi>(e.slot)) {
    case Bi::Val: {
      std::string t;
      return ParseNumber(SRef(*e.args[0], t));
    }
    case Bi::Abs: return std::fabs(Arg(e, 0));
    case Bi::Sqr: {
      double x = Arg(e, 0);
      Domain(e, x >= 0, "square root of a negative number");
      return std::sqrt(x);
    }
    case Bi::Sin: return std::sin(Arg(e, 0));
    case Bi::Cos: return std::cos(Arg(e, 0));
    case Bi::Tan: return std::tan(Arg(e, 0));
    case Bi::Atn: return std::atan(Arg(e, 0));
    case Bi::Asin: {
      double x = Arg(e, 0);
      Domain(e, x >= -1 && x <= 1, "asin needs a value from -1 to 1");
      return std::asin(x);
    }
    case Bi::Acos: {
      double x = Arg(e, 0);
      Domain(e, x >= -1 && x <= 1, "acos needs a value from -1 to 1");
      return std::acos(x);
    }
    case Bi::Exp: return std::exp(Arg(e, 0));
    case Bi::Log: {
      double x = Arg(e, 0);
      Domain(e, x > 0, "log needs a value above 0");
      return std::log(x);
    }
    case Bi::Pow: return std::pow(Arg(e, 0), Arg(e, 1));
    case Bi::Hypot: return std::hypot(Arg(e, 0), Arg(e, 1));
    case Bi::Int:
    case Bi::Floor: return std::floor(Arg(e, 0));
    case Bi::Frac: {
      double x = Arg(e, 0);
      return x - std::trunc(x);
    }
    case Bi::Ceil: return std::ceil(Arg(e, 0));
    case Bi::Round: return std::nearbyint(Arg(e, 0));
    case Bi::Pi: return 3.141592653589793;
    case Bi::Rnd: return static_cast<double>(NextRandom() >> 11) * (1.0 / 9007199254740992.0);
    default: Fail(e.line, "internal error: no float built-in");
  }
}

std::string Interp::StrBuiltin(const Expr& e) {
  std::string t1;
  switch (static_cast<Bi>(e.slot)) {
    case Bi::Left:
    case Bi::Right: {
      const std::string& s = SHeld(*e.args[0], t1, e.args[1]->calls);
      int64_t n = AsInt(*e.args[1]);
      if (n <= 0) return "";
      size_t len = static_cast<size_t>(n) < s.size() ? static_cast<size_t>(n) : s.size();
      return static_cast<Bi>(e.slot) == Bi::Left ? s.substr(0, len) : s.substr(s.size() - len);
    }
    case Bi::Mid: {
      const std::string& s = SHeld(*e.args[0], t1, e.args[1]->calls || (e.args.size() == 3 && e.args[2]->calls));
      int64_t start = AsInt(*e.args[1]);
      int64_t n = e.args.size() == 3 ? AsInt(*e.args[2]) : static_cast<int64_t>(s.size());
      if (start < 1) start = 1;
      if (n < 0) n = static_cast<int64_t>(s.size());
      if (start > static_cast<int64_t>(s.size())) return "";
      return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(n));
    }
    case Bi::Ucase:
    case Bi::Lcase: {
      std::string s = S(*e.args[0]);
      bool up = static_cast<Bi>(e.slot) == Bi::Ucase;
      for (char& c : s) {
        if (up && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (!up && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
      }
      return s;
    }
    case Bi::Ltrim: {
      const std::string& s = SRef(*e.args[0], t1);
      size_t k = s.find_first_not_of(' ');
      return k == std::string::npos ? "" : s.substr(k);
    }
    case Bi::Rtrim: {
      const std::string& s = SRef(*e.args[0], t1);
      size_t k = s.find_last_not_of(' ');
      return k == std::string::npos ? "" : s.substr(0, k + 1);
    }
    case Bi::Str: return Text(*e.args[0]);
    case Bi::Chr: {
      int64_t n = AsInt(*e.args[0]);
      if (n < 0 || n > 255) Fail(e.line, "chr needs a code from 0 to 255, not " + std::to_string(n));
      return std::string(1, static_cast<char>(n));
    }
    case Bi::Hex: {
      int64_t n = AsInt(*e.args[0]);
      char buf[24];
      if (n >= INT32_MIN && n <= static_cast<int64_t>(UINT32_MAX)) {
        std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(static_cast<uint32_t>(n)));
      } else {
        std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(n));
      }
      return buf;
    }
    case Bi::Space: {
      int64_t n = AsInt(*e.args[0]);
      if (n <= 0) return "";
      if (static_cast<uint64_t>(n) > MaxText) Fail(e.line, "text too long");
      return std::string(static_cast<size_t>(n), ' ');
    }
    case Bi::Getfile: {
      std::string name = S(*e.args[0]);
      std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(name.c_str(), "rb"), &std::fclose);
      std::string text;
      if (!f) return text;
      std::string chunk(65536, '\0');
      size_t got;
      while ((got = std::fread(chunk.data(), 1, chunk.size(), f.get())) > 0) {
        if (text.size() + got > MaxText) Fail(e.line, "the file " + name + " is too large");
        text.append(chunk, 0, got);
      }
      return text;
    }
    default: Fail(e.line, "internal error: no string built-in");
  }
}

}  // namespace zb::interp
