// The main window's layout arithmetic: quarters rounded half to even, the editor and the
// output panel by the panel flags, the finder boxes and the command button row.
#include <gtest/gtest.h>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

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

// Every rectangle of a plan, for comparing plans field by field.
std::vector<std::pair<std::string, Rect>> RectsOf(const LayoutPlan& plan) {
  std::vector<std::pair<std::string, Rect>> rects = {
      {"output", plan.output}, {"editor", plan.editor}, {"find", plan.find},       {"replace", plan.replace},
      {"line", plan.line},     {"keyword", plan.keyword}, {"project", plan.project}};
  for (int i = 0; i < 11; ++i) rects.push_back({"button " + std::to_string(i), plan.buttons[i]});
  return rects;
}

// How far a value at a scale is from the value at 96 dpi times the scale.
double Off(int scaled, int at96, int dpi) { return std::abs(scaled - at96 * dpi / 96.0); }

TEST(LayoutAtScale, IsTheLayoutAt96GrownByTheScaleWithinAPixel) {
  // Client sizes whose quarters are whole pixels at every scale: the quarters' own rounding
  // (halves to even) aside, nothing may stray by more than a pixel.
  const struct { int width, height; } sizes[] = {{1296, 656}, {1104, 700}, {1600, 900}, {960, 500}, {2000, 1200}};
  for (int dpi : {120, 144, 192}) {
    const DisplayScale scale{dpi};
    for (const auto& size : sizes) {
      for (int project = 0; project <= 1; ++project) {
        for (int output = 0; output <= 1; ++output) {
          const auto at96 = RectsOf(ComputeLayout(size.width, size.height, project, output, At96));
          const auto scaled = RectsOf(ComputeLayout(scale(size.width), scale(size.height), project, output, scale));
          for (size_t i = 0; i < at96.size(); ++i) {
            SCOPED_TRACE(testing::Message() << dpi << " dpi, " << size.width << " x " << size.height << ", project "
                                            << project << ", output " << output << ", " << at96[i].first);
            const Rect a = at96[i].second, b = scaled[i].second;
            EXPECT_LE(Off(b.x, a.x, dpi), 1.0);
            EXPECT_LE(Off(b.y, a.y, dpi), 1.0);
            EXPECT_LE(Off(b.width, a.width, dpi), 1.0);
            EXPECT_LE(Off(b.height, a.height, dpi), 1.0);
          }
        }
      }
    }
  }
}

TEST(LayoutAtScale, At144DpiAWindowOf1950PixelsHasItsNumbersGrownByHalf) {
  const LayoutPlan plan = ComputeLayout(1950, 1050, false, true, DisplayScale{144});
  EXPECT_EQ(plan.quarter, 488);                                // 487.5 to the even neighbour
  EXPECT_EQ(plan.find, (Rect{563, 2, 488, 41}));                // 375, 1 and 27 times 1.5, halves up
  EXPECT_EQ(plan.replace, (Rect{488, 56, 488, 41}));
  EXPECT_EQ(plan.output, (Rect{1220, 45, 732, 975}));
  EXPECT_EQ(plan.editor, (Rect{0, 120, 1220, 900}));
  EXPECT_EQ(plan.buttons[0], (Rect{6, 69, 158, 41}));          // 488 - 330
  EXPECT_EQ(plan.buttons[10], (Rect{1883, 69, 128, 41}));      // 488 - 360
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
