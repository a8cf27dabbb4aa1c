// Pixel numbers written for a display of 96 dots per inch, scaled to the display a window is
// on, and the scales at which the build draws the program's pictures.
#pragma once
#include <string>
#include <string_view>

constexpr int BaseDpi = 96;  // the display every layout number of the program is written for

// value * numerator / denominator (denominator above 0) to the nearest whole number, halves away
// from zero, as MulDiv rounds: the one rounding of every scaled length.
int ScaledRounded(int value, int numerator, int denominator);

// The scale of one display: its dots per inch over 96. Layout code takes it as an argument, so
// the numbers it is written with stay the 96-dpi ones, and at 96 dpi every one stays as written.
struct DisplayScale {
  int dpi = BaseDpi;
  // pixels * dpi / 96 to the nearest whole pixel (ScaledRounded): the one rule by which every
  // layout number, font and picture size is scaled.
  int operator()(int pixels) const;
  bool operator==(const DisplayScale&) const = default;
};

// The scale of a display that reports dpi; a report that makes no sense (0 from a window that is
// gone, say) counts as 96.
DisplayScale ScaleOfDpi(int dpi);

// The scales, in percent, at which the build draws every picture.
constexpr int PictureScales[] = {100, 125, 150, 200};
// The drawn scale nearest to the display's; halfway between two, the smaller one, whose picture
// fits where the larger one would be cut. Never a stretch of the smallest: above 200% the 200%
// pictures are taken.
int NearestPictureScale(int dpi);
// The file of a picture drawn at percent: at 100 the name itself, otherwise the name with
// "@<percent>" before its extension ("pix/narzisse3.bmp" at 150 is "pix/narzisse3@150.bmp").
std::string PictureFileAt(std::string_view file, int percent);
// A side of a picture drawn at percent, from its side at 100% by the rule above (30 is 38 at 125%).
int PictureSide(int side, int percent);
