// Display scales and the names and sizes of scaled pictures.
#include "base/DisplayScale.h"
#include <cstdlib>

namespace {
constexpr int LeastDpi = 48;   // half the base scale: no display reports less
constexpr int MostDpi = 960;   // ten times the base scale
}  // namespace

int ScaledRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long magnitude = (std::llabs(product) + denominator / 2) / denominator;
  return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

int DisplayScale::operator()(int pixels) const { return ScaledRounded(pixels, dpi, BaseDpi); }

DisplayScale ScaleOfDpi(int dpi) { return {dpi >= LeastDpi && dpi <= MostDpi ? dpi : BaseDpi}; }

int NearestPictureScale(int dpi) {
  const int wanted = ScaleOfDpi(dpi).dpi * 100;  // percent times 96, so no division rounds
  int nearest = PictureScales[0];
  for (int percent : PictureScales)
    if (std::abs(percent * BaseDpi - wanted) < std::abs(nearest * BaseDpi - wanted)) nearest = percent;
  return nearest;
}

std::string PictureFileAt(std::string_view file, int percent) {
  if (percent == 100) return std::string(file);
  const size_t slash = file.find_last_of("\\/");
  const size_t dot = file.rfind('.');
  const size_t end = dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash) ? file.size() : dot;
  return std::string(file.substr(0, end)) + "@" + std::to_string(percent) + std::string(file.substr(end));
}

int PictureSide(int side, int percent) { return DisplayScale{percent * BaseDpi / 100}(side); }
