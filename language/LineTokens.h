// One line of Zorvex Basic read into tokens, by the rules the toolchain reads its sources with:
// where strings and comments begin and end, the names, numbers and operators, and which token
// starts a statement. Every reader of Basic text in the IDE reads lines through this one: the
// colouring lexer and its folds, the block words, indentation, the comment marks, the matching
// brackets and the name finder, so none of them can disagree with another about where a string
// or a comment ends. Platform-free.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

enum class TokenKind : uint8_t {
  Name,          // a name or a keyword: a letter or "_", then letters, digits and "_"
  Directive,     // "#" and the name right behind it ("#include", "#ifdef"); a "#" alone too
  Number,        // 12, 1.5, .5, 3., 2e10, 1.5E-3, 0x1F
  String,        // "..." ("" inside stands for one quote)
  OtherQuote,    // `...`
  Operator,      // one of + - * / \ = < > ( ) [ ] { } , . & | ^ ! ? @ % $ ~, or a ";" between the
                 // items of print and input
  Colon,         // ":" between statements
  LineComment,   // ' ; // or the word rem, to the line end (";" outside print and input)
  BlockComment,  // "/*" to "*/", or the part of one that stands on the line
  Other,         // any other byte: a control character, a byte from 128 to 255
};

struct LineToken {
  TokenKind kind = TokenKind::Other;
  bool open = false;            // a string without its closing quote, or a /* */ comment, goes on to the line end
  bool doc = false;             // a /* */ comment opened here by "/**" (but not "/**/") or "/*!"
  bool statementStart = false;  // code that begins a statement: at the line start, behind ":", then or else
  uint32_t start = 0;           // where it stands in the line
  uint32_t length = 0;
  std::string_view In(std::string_view line) const { return line.substr(start, length); }
  bool IsCode() const { return kind != TokenKind::LineComment && kind != TokenKind::BlockComment; }
  // An operator token of this one character.
  bool Is(std::string_view line, char op) const { return kind == TokenKind::Operator && line[start] == op; }
};

// A line read: its tokens in order (the blanks between them are none) and the /* */ comment
// state at both ends, which the next line starts with.
struct LineRead {
  std::vector<LineToken> tokens;
  bool startsInComment = false;
  bool endsInComment = false;
  // A string is still open at the line end: a line break typed there breaks the string.
  bool EndsInString() const;
  // The line's first non-blank character is "#" outside a comment.
  bool IsDirectiveLine() const;
  // The index of the first token that is code, tokens.size() when there is none.
  size_t FirstCode() const;
};

// Reads line (without its line break) from the comment state the line above left, into read
// (whose storage is used again, so reading line after line allocates next to nothing).
void ReadLine(std::string_view line, bool startsInComment, LineRead& read);
LineRead ReadLine(std::string_view line, bool startsInComment);
