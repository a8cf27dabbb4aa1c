// Numbers as text: how print and str show them, and how val and input read them.
#pragma once
#include <string>
#include <string_view>

namespace zb {

// The shortest text that reads back as exactly x (see NumberText.cpp for the rule).
std::string FormatFloat(double x);
// The leading number of a text, 0 when there is none ("  12abc" reads 12, "0x1F" 31).
double ParseNumber(std::string_view s);
// A whole text read as one number, as input reads it: blanks around it, an optional sign, then
// decimal digits with an optional fraction and exponent, or 0x and hexadecimal digits. False
// when the text holds anything else.
bool ReadNumber(std::string_view s, double& value);

}  // namespace zb
