// The main window's layout arithmetic: quarters rounded half to even, the editor and the
// output panel by the panel flags, the finder boxes and the command button row.
#include <gtest/gtest.h>

#include "shell/Layout.h"
#include "shell/ShellState.h"

namespace {
constexpr DisplayScale At96{};  // the display the layout numbers are written for

TEST(LayoutQuarter, RoundsHalvesToTheEvenNeighbour) {
  const struct { int width, quarter; } cases[] = {
      {1200, 300}, {800, 200}, {802, 200}, {806, 202}, {804, 201}, {882, 220},
      {883, 221},  {962, 240}, {0, 0},     {1, 0},     {2, 0},     {3, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QuarterOf(c.width), c.quarter) << c.width;
    EXPECT_EQ(ComputeLayout(c.width, 500, false, false, At96).quarter, c.quarter) << c.width;
  }
}

TEST(LayoutEditor, SpansTheClientWithoutAProjectAndLeavesTheLeftQuarterWithOne) {
  EXPECT_EQ(ComputeLayout(800, 600, false, false, At96).editor, (Rect{0, 80, 800, 500}));
  EXPECT_EQ(ComputeLayout(800, 600, true, false, At96).editor, (Rect{200, 80, 600, 500}));
}

TEST(LayoutOutput, SidePanelTakesOneAndAHalfQuartersRoundedToEven) {
  // Q = 201: c = 301.5 -> 302; b = 603 - 301.5 -> 302 with a project, 804 - 301.5 -> 502 without.
  const LayoutPlan withProject = ComputeLayout(804, 700, true, true, At96);
  EXPECT_FALSE(withProject.outputHidden);
  EXPECT_EQ(withProject.editor, (Rect{201, 80, 302, 600}));
  EXPECT_EQ(withProject.project, (Rect{0, 80, 201, 600}));
  EXPECT_EQ(ComputeLayout(804, 700, false, true, At96).project, Rect{});
  EXPECT_EQ(withProject.output, (Rect{503, 30, 302, 650}));

  const LayoutPlan without = ComputeLayout(804, 700, false, true, At96);
  EXPECT_EQ(without.editor, (Rect{0, 80, 502, 600}));
  EXPECT_EQ(without.output, (Rect{502, 30, 302, 650}));
}

TEST(LayoutOutput, HiddenPanelShrinksToNothing) {
  const LayoutPlan plan = ComputeLayout(1200, 700, true, false, At96);
  EXPECT_TRUE(plan.outputHidden);
  EXPECT_EQ(plan.output, (Rect{0, 0, 0, 0}));
}

TEST(LayoutFinderBoxes, SitInTheirQuarters) {
  const LayoutPlan plan = ComputeLayout(1200, 700, false, false, At96);
  EXPECT_EQ(plan.find, (Rect{375, 1, 300, 27}));
  EXPECT_EQ(plan.replace, (Rect{300, 37, 300, 27}));
  EXPECT_EQ(plan.line, (Rect{600, 37, 300, 27}));
  EXPECT_EQ(plan.keyword, (Rect{900, 37, 300, 27}));
}

TEST(LayoutButtons, RowNarrowsWithTheWindowAndVanishesWhenNarrow) {
  const int xs[11] = {4, 138, 275, 405, 515, 645, 765, 895, 1025, 1155, 1255};
  const struct { int width, firstNine, lastTwo; } cases[] = {
      {1200, 80, 60}, {882, 0, -20}, {883, 1, -19}, {962, 20, 0}, {800, -20, -40},
  };
  for (const auto& c : cases) {
    const LayoutPlan plan = ComputeLayout(c.width, 600, false, false, At96);
    for (int i = 0; i < 11; ++i) {
      const int width = i < 9 ? c.firstNine : c.lastTwo;
      EXPECT_EQ(plan.buttons[i], (Rect{xs[i], 46, width, 27})) << c.width << " button " << i;
    }
  }
}

TEST(LayoutWindowSize, MinimisedSizeIsNotRecorded) {
  RecordOuterSize(1024, 700, false);
  RecordOuterSize(160, 28, true);
  EXPECT_EQ(WindowWidth, 1024);
  EXPECT_EQ(WindowHeight, 700);
  RecordOuterSize(900, 650, false);
  EXPECT_EQ(WindowWidth, 900);
  EXPECT_EQ(WindowHeight, 650);
}

}  // namespace
