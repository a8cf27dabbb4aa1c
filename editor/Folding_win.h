// Folding the Editor's blocks: the fold margin's clicks and the fold commands.
#pragma once
#include <cstddef>

constexpr int FoldMargin = 1;

void EditorMarginClick(int margin, size_t position);
void ToggleFoldAtCaret();
void FoldAll();
void UnfoldAll();
