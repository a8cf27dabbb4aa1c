// The characters of Zorvex Basic text, one rule for every reader of it: the toolchain's own rule
// of what a name is (a letter or "_", then letters, digits and "_"), and the wider words that
// help, the compiler query and find in files take at the caret. Platform-free; the toolchain
// reads its sources by the same rule.
#pragma once

constexpr bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr bool IsHexDigit(unsigned char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
// The first character of a name, and every one after it.
constexpr bool IsNameStart(unsigned char c) { return IsLetter(c) || c == '_'; }
constexpr bool IsNameChar(unsigned char c) { return IsNameStart(c) || IsDigit(c); }
// A character of a word: of a name, the "#" of a directive ("#include"), or a byte from 127 to
// 255, which the ANSI code page makes a letter of another alphabet.
constexpr bool IsWordChar(unsigned char c) { return IsNameChar(c) || c == '#' || c >= 127; }
// Blanks between tokens; a line break ends a line, never a token within one.
constexpr bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
constexpr bool IsLineBreak(unsigned char c) { return c == '\r' || c == '\n'; }
// A to Z as a to z; every other byte as it is (names compare so, letter case ignored).
constexpr char LowerLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
