// Folding of Zorvex Basic. Each line's fold level is the depth of blocks open at its start; a
// line that closes a block and opens one ("else", "elseif ... then", "#else", "end if : if x
// then") takes the lower depth, so it heads a fold of its own and the branch above it folds on
// its own too. The depth after the line is kept in the upper 16 bits of its level, where the next
// line reads it. The block words are the language's own (BlockWordsOf): only code counts,
// nothing in strings or comments.
#include "scilexer/FoldZorvex.h"
#include <vector>
#include "ScintillaTypes.h"
#include "language/BlockWords.h"

namespace {

using Scintilla::FoldLevel;
constexpr int Base = static_cast<int>(FoldLevel::Base);
constexpr int Deepest = static_cast<int>(FoldLevel::NumberMask);
constexpr int HeaderFlag = static_cast<int>(FoldLevel::HeaderFlag);

// The depths of one line while it is read.
struct LineDepth {
  int lowest;  // lowest depth before an opener of the line
  int after;   // open blocks after the part read so far
  bool branched = false;  // a branch began on the line

  void Open() {
    if (lowest > after) lowest = after;
    if (after < Deepest) ++after;
  }
  // A closer without an open block is ignored, so a stray one leaves the blocks below alone.
  void Close() {
    if (after > Base) --after;
  }
  // "else" and the like end one branch and begin the next, inside an open block only.
  void Branch() {
    if (after == Base) return;
    --after;
    Open();
    branched = true;
  }
  int Level() const {
    const bool header = lowest < after;
    return lowest | (header ? HeaderFlag : 0) | (header && branched ? BranchFlag : 0) | (after << 16);
  }
};

}  // namespace

int FoldLevelOf(std::string_view line, const LineRead& read, bool hasBreak, int& open) {
  LineDepth depth{open, open};
  // A block comment over several lines folds from the line it starts on to the line it ends on.
  const bool commentAfter = hasBreak && read.endsInComment;
  if (read.startsInComment && !commentAfter) depth.Close();
  for (const BlockWord& word : BlockWordsOf(line, read, true)) {
    if (word.role == BlockRole::Open) {
      depth.Open();
    } else if (word.role == BlockRole::Close) {
      depth.Close();
    } else if (word.kind != BlockKind::Select) {  // the cases of a select fold with it
      depth.Branch();
    }
  }
  if (commentAfter && !read.startsInComment) depth.Open();
  open = depth.after;
  return depth.Level();
}

int TrailingLevel(int open) { return open | (open << 16); }

bool ClosesBlocks(int level, int open) { return (level & Deepest) > open; }
