// Folding the Editor's blocks: the fold margin's clicks and the fold commands.
#pragma once
#include <cstddef>

// The margins beside the line numbers (margin 0): the marks of lines (errors, bookmarks), then
// the fold points.
constexpr int MarkMargin = 1;
constexpr int FoldMargin = 2;

void EditorMarginClick(int margin, size_t position);
void ToggleFoldAtCaret();
void FoldAll();
void UnfoldAll();
