// Layout arithmetic of the main window.
#include "shell/Layout.h"

#include "base/TextScan.h"
#include "shell/ShellState.h"

namespace {

constexpr int BoxHeight = 27;
constexpr int ButtonRowY = 46;

// x of each command button and how much narrower than a quarter it is.
struct ButtonSlot {
  int x;
  int shrink;
};
constexpr ButtonSlot ButtonSlots[11] = {{4, 220},   {138, 220},  {275, 220}, {405, 220},
                                        {515, 220}, {645, 220},  {765, 220}, {895, 220},
                                        {1025, 220}, {1155, 240}, {1255, 240}};

int Round(double value) { return static_cast<int>(RoundHalfEven(value)); }

}  // namespace

int QuarterOf(int clientWidth) { return Round(clientWidth * 0.25); }

LayoutPlan ComputeLayout(int clientWidth, int clientHeight, bool projectOpen, bool outputShown, DisplayScale scale) {
  LayoutPlan plan;
  const int q = QuarterOf(clientWidth);
  plan.quarter = q;
  int a = q;
  int b = 3 * q;
  const int c = Round(1.5 * q);
  if (!projectOpen) {
    a = 0;
    b += q;
  }
  const int boxHeight = scale(BoxHeight);
  if (outputShown) {
    b = Round(b - 1.5 * q);
    plan.output = {a + b, scale(30), c, clientHeight - scale(50)};
    plan.outputHidden = false;
  }
  const int editorTop = scale(80);
  const int editorHeight = clientHeight - scale(100);
  plan.editor = {a, editorTop, b, editorHeight};
  // The project list fills the quarter that the editor leaves free for it.
  if (projectOpen) plan.project = {0, editorTop, q, editorHeight};
  plan.find = {scale(375), scale(1), q, boxHeight};
  plan.replace = {q, scale(37), q, boxHeight};
  plan.line = {2 * q, scale(37), q, boxHeight};
  plan.keyword = {3 * q, scale(37), q, boxHeight};
  for (int i = 0; i < 11; ++i)
    plan.buttons[i] = {scale(ButtonSlots[i].x), scale(ButtonRowY), q - scale(ButtonSlots[i].shrink), boxHeight};
  return plan;
}

void RecordOuterSize(int width, int height, bool minimised) {
  if (minimised) return;
  WindowWidth = width;
  WindowHeight = height;
}
