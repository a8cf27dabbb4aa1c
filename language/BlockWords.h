// The words of Zorvex Basic that open, continue or close a block, read from the tokens of a
// line: one table for the folds of the colouring lexer and for the editing aids (indentation,
// the matching words of a block). Platform-free.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "language/LineTokens.h"

// Lines of a document as the editing aids ask for them: by 0-based number, without their line
// end. StartsInComment tells whether a line begins inside a /* */ comment.
class SourceLines {
 public:
  virtual ~SourceLines() = default;
  virtual int Count() const = 0;
  virtual std::string Text(int line) const = 0;
  virtual bool StartsInComment(int line) const = 0;
};

// The lines of a text held whole (line ends CR LF, LF or CR), each line's comment state read
// from the top.
class TextLines : public SourceLines {
 public:
  explicit TextLines(std::string_view text);
  int Count() const override { return static_cast<int>(starts_.size()); }
  std::string Text(int line) const override;
  bool StartsInComment(int line) const override { return inComment_[static_cast<size_t>(line)]; }
  // Offset of the line's first character in the text.
  size_t Start(int line) const { return starts_[static_cast<size_t>(line)]; }

 private:
  std::string_view text_;
  std::vector<size_t> starts_;
  std::vector<size_t> ends_;
  std::vector<bool> inComment_;
};

// Directive: the #if, #ifdef and #ifndef of the text a compile leaves in or out, with #else,
// #elseif and #endif; they fold, but the editing aids leave them to the statements' blocks.
enum class BlockKind { Sub, Function, Type, If, For, While, Do, Repeat, Select, Directive };
enum class BlockRole { Open, Continue, Close };
// A word, or a pair of words such as "end if", that opens, continues or closes a block; start
// and end are the columns of its first character and behind its last.
struct BlockWord {
  BlockKind kind;
  BlockRole role;
  size_t start;
  size_t end;
};
// The block words of a line read in order: the first word of each statement counts. A one-line
// if or elseif (anything after its then) and exit for and the like open nothing; end alone,
// which ends the program, closes nothing. The directives' words only when asked for.
std::vector<BlockWord> BlockWordsOf(std::string_view line, const LineRead& read, bool directives = false);

// Whether the line leaves a block open for the lines below it: an opener or a continuing word
// (else, case ...) that the line itself does not close again.
bool OpensBlock(const std::vector<BlockWord>& words);

// Where a block word stands: its line and its place among that line's block words.
struct BlockWordAt {
  int line = -1;
  size_t index = 0;
  BlockWord word{};
};
// The opener of the block that the block word at line, index closes or continues (an index
// past the line's block words searches from the line's end), searched upwards over at most
// maxLines lines. Blocks of other kinds left open in between are passed
// over. line is -1 when there is none within reach.
BlockWordAt FindOpener(const SourceLines& lines, int line, size_t index, BlockKind kind, int maxLines);

// The blanks and tabs a line begins with.
std::string_view LeadingBlanks(std::string_view line);
