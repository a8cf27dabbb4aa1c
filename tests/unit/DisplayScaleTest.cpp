// The display scale: every layout number scaled by one rounding rule, the picture drawn for a
// display's scale and its file name.
#include <gtest/gtest.h>

#include "base/DisplayScale.h"

namespace {

TEST(DisplayScale, ScalesByDpiOver96ToTheNearestPixelWithHalvesAwayFromZero) {
  const struct { int pixels, dpi, scaled; } cases[] = {
      {30, 96, 30},   {30, 120, 38},   {30, 144, 45},   {30, 192, 60},   // a toolbar button
      {27, 144, 41},  {13, 144, 20},   {9, 144, 14},    {7, 120, 9},     // halves and quarters
      {1, 144, 2},    {1, 120, 1},     {1, 168, 2},     {0, 192, 0},
      {375, 120, 469}, {1255, 144, 1883}, {800, 144, 1200}, {600, 120, 750},
      {-220, 144, -330}, {-3, 144, -5}, {-1, 120, -1},                   // a negative half goes down
      {80, 72, 60},   {27, 72, 20},    {30, 288, 90},
  };
  for (const auto& c : cases) EXPECT_EQ((DisplayScale{c.dpi}(c.pixels)), c.scaled) << c.pixels << " at " << c.dpi;
}

TEST(DisplayScale, At96DpiEveryNumberStaysAsWritten) {
  const DisplayScale same;
  for (int pixels = -2000; pixels <= 2000; ++pixels) ASSERT_EQ(same(pixels), pixels);
}

TEST(DisplayScale, ADpiThatMakesNoSenseCountsAs96) {
  const struct { int reported, taken; } cases[] = {
      {0, 96}, {-144, 96}, {47, 96}, {48, 48}, {96, 96}, {144, 144}, {960, 960}, {961, 96}, {1 << 30, 96},
  };
  for (const auto& c : cases) EXPECT_EQ(ScaleOfDpi(c.reported).dpi, c.taken) << c.reported;
}

TEST(PictureScale, TheNearestDrawnScaleAndBetweenTwoTheSmaller) {
  const struct { int dpi, percent; } cases[] = {
      {96, 100},  {72, 100},  {0, 100},   {108, 100}, {109, 125}, {120, 125}, {132, 125}, {133, 150},
      {144, 150}, {168, 150}, {169, 200}, {192, 200}, {240, 200}, {288, 200},
  };
  for (const auto& c : cases) EXPECT_EQ(NearestPictureScale(c.dpi), c.percent) << c.dpi;
}

TEST(PictureScale, FilesOfTheScaledPicturesCarryTheScaleBeforeTheExtension) {
  const struct { const char* file; int percent; const char* scaled; } cases[] = {
      {"pix/narzisse3.bmp", 100, "pix/narzisse3.bmp"},
      {"pix/narzisse3.bmp", 125, "pix/narzisse3@125.bmp"},
      {"pix/b\xE4nke.bmp", 150, "pix/b\xE4nke@150.bmp"},
      {"zitronenfalter.ico", 200, "zitronenfalter@200.ico"},
      {"2001-A-Space-Odyssey-1.jpg", 150, "2001-A-Space-Odyssey-1@150.jpg"},
      {"my.pictures\\sun", 150, "my.pictures\\sun@150"},  // the folder's dot is no extension
      {"sun", 125, "sun@125"},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureFileAt(c.file, c.percent), c.scaled) << c.file;
}

TEST(PictureScale, SidesGrowByTheRuleOfTheLayout) {
  const struct { int side, at125, at150, at200; } cases[] = {
      {30, 38, 45, 60},      // toolbar pictures
      {32, 40, 48, 64},      // the icon
      {440, 550, 660, 880},  // the welcome picture
      {380, 475, 570, 760},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PictureSide(c.side, 100), c.side);
    EXPECT_EQ(PictureSide(c.side, 125), c.at125) << c.side;
    EXPECT_EQ(PictureSide(c.side, 150), c.at150) << c.side;
    EXPECT_EQ(PictureSide(c.side, 200), c.at200) << c.side;
  }
}

}  // namespace
