// The Zorvex Basic lexer's number and the style numbers of its text classes, shared by the lexer
// and the editor's colour table. Platform-free.
#pragma once

// Lexer number under which the editing control offers the Zorvex Basic lexer.
constexpr int ZorvexLexerNumber = 200;
// The message that attaches a lexer by its number: Scintilla 4 had it (SCI_SETLEXER) and
// Scintilla 5 no longer has; lib/SciLexer.dll answers it for the program.
constexpr unsigned SetLexerMessage = 4001;

// Text classes of the lexer (the same numbers Scintilla's C-family lexers use for them).
namespace ZorvexStyles {
enum ZorvexStyle {
  StyleDefault = 0,               // blanks, identifiers, anything unclassified
  StyleComment = 1,               // block comment
  StyleLineComment = 2,
  StyleDocComment = 3,            // documentation block comment
  StyleNumber = 4,
  StyleKeyword = 5,               // word of keyword set 0
  StyleString = 6,                // double-quoted
  StyleOtherQuote = 7,            // back-quoted
  StyleOperator = 10,
  StyleDirectiveComment = 23,     // comment that starts on a directive line
  StyleDirectiveDocComment = 24,  // documentation comment that starts on a directive line
};

// The styles of a /* */ comment, which alone goes on past a line break.
constexpr bool IsBlockCommentStyle(int style) {
  return style == StyleComment || style == StyleDocComment || style == StyleDirectiveComment ||
         style == StyleDirectiveDocComment;
}
}  // namespace ZorvexStyles
