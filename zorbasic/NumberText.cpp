// Float text. The rule: a float with an integral value below 1e16 in magnitude prints as a
// plain integer ("7", "-1024", "9007199254740992"). Any other finite float prints its shortest
// round-trip digits (the fewest significant digits, 1 to 17, that read back as the same double)
// in fixed form when 1e-4 <= |x| < 1e16 ("0.5", "3.25", "0.00012"), and in exponent form otherwise, with a
// sign and at least two exponent digits ("1e+20", "2.5e-07", "1.7976931348623157e+308").
// Infinities and NaN print as "inf", "-inf" and "nan".
#include "zorbasic/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zb {

namespace {

// Shortest round-trip digits and decimal exponent: x = 0.d1d2d3... * 10^(exp10 + 1) style,
// given as the digit string and the exponent of its first digit.
void ShortestDigits(double x, std::string& digits, int& exp10) {
  char buf[64];
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, x);
    if (std::strtod(buf, nullptr) == x || precision == 17) break;
  }
  // buf is "d.ddde[+-]xx" or "de[+-]xx"
  std::string s(buf);
  size_t e = s.find('e');
  exp10 = std::atoi(s.c_str() + e + 1);
  digits.clear();
  for (size_t k = 0; k < e; ++k)
    if (s[k] >= '0' && s[k] <= '9') digits += s[k];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

}  // namespace

std::string FormatFloat(double x) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
  if (x == 0) return "0";
  double ax = std::fabs(x);
  if (ax < 1e16 && std::floor(ax) == ax) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", x);
    return buf;
  }
  std::string digits;
  int exp10 = 0;
  ShortestDigits(ax, digits, exp10);
  std::string out = x < 0 ? "-" : "";
  if (ax >= 1e-4 && ax < 1e16) {
    if (exp10 < 0) {
      out += "0.";
      out.append(static_cast<size_t>(-exp10 - 1), '0');
      out += digits;
    } else {
      size_t intDigits = static_cast<size_t>(exp10) + 1;
      if (digits.size() <= intDigits) {
        out += digits;
        out.append(intDigits - digits.size(), '0');
      } else {
        out += digits.substr(0, intDigits);
        out += '.';
        out += digits.substr(intDigits);
      }
    }
    return out;
  }
  out += digits.substr(0, 1);
  if (digits.size() > 1) {
    out += '.';
    out += digits.substr(1);
  }
  char ebuf[16];
  std::snprintf(ebuf, sizeof ebuf, "e%c%02d", exp10 < 0 ? '-' : '+', exp10 < 0 ? -exp10 : exp10);
  return out + ebuf;
}

double ParseNumber(std::string_view s) {
  size_t k = 0;
  while (k < s.size() && (s[k] == ' ' || s[k] == '\t')) ++k;
  bool negative = false;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
  if (k + 1 < s.size() && s[k] == '0' && (s[k + 1] == 'x' || s[k + 1] == 'X')) {
    double v = 0;
    size_t j = k + 2;
    for (; j < s.size(); ++j) {
      char c = s[j];
      int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
      if (d < 0) break;
      v = v * 16 + d;
    }
    if (j > k + 2) return negative ? -v : v;
  }
  std::string number;
  size_t j = k;
  while (j < s.size() && s[j] >= '0' && s[j] <= '9') number += s[j++];
  if (j < s.size() && s[j] == '.') {
    number += s[j++];
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') number += s[j++];
  }
  if (number.empty() || number == ".") return 0;
  if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
    size_t q = j + 1;
    std::string exp = "e";
    if (q < s.size() && (s[q] == '+' || s[q] == '-')) exp += s[q++];
    if (q < s.size() && s[q] >= '0' && s[q] <= '9') {
      while (q < s.size() && s[q] >= '0' && s[q] <= '9') exp += s[q++];
      number += exp;
    }
  }
  double v = std::strtod(number.c_str(), nullptr);
  return negative ? -v : v;
}

namespace {

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }
bool IsHexChar(char c) { return IsDigitChar(c) || ((c | 32) >= 'a' && (c | 32) <= 'f'); }
size_t Digits(std::string_view s, size_t k, bool (*is)(char)) {
  while (k < s.size() && is(s[k])) ++k;
  return k;
}

}  // namespace

bool ReadNumber(std::string_view s, double& value) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  size_t k = 0;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
  if (s.size() > k + 2 && s[k] == '0' && (s[k + 1] | 32) == 'x') {
    if (Digits(s, k + 2, IsHexChar) != s.size()) return false;
    value = ParseNumber(s);
    return true;
  }
  size_t whole = Digits(s, k, IsDigitChar);
  size_t end = whole;
  if (end < s.size() && s[end] == '.') end = Digits(s, end + 1, IsDigitChar);
  if (end - k - (end > whole ? 1 : 0) == 0) return false;  // no digit at all
  if (end < s.size() && (s[end] | 32) == 'e') {
    size_t q = end + 1;
    if (q < s.size() && (s[q] == '+' || s[q] == '-')) ++q;
    size_t exp = Digits(s, q, IsDigitChar);
    if (exp == q) return false;
    end = exp;
  }
  if (end != s.size()) return false;
  value = std::strtod(std::string(s).c_str(), nullptr);
  return true;
}

}  // namespace zb
