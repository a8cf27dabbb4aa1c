// What the fuzz targets share: the check that ends a run on a broken property, and the byte
// views they read their inputs through.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Ends the run (libFuzzer then keeps the input as a finding) when a property does not hold.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

// The fuzzer's input as a byte string.
inline std::string_view InputText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// True when part occurs in text (the empty part always does).
inline bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// True when text ends with tail.
inline bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// True for the codes the scanners take as line breaks: LF, VT, FF, CR.
inline bool IsBreakCode(char c) { return c >= 10 && c <= 13; }
