// Numbers as text: how print and str show them, and how val and input read them.
#pragma once
#include <string>
#include <string_view>

namespace zb {

// The shortest text that reads back as exactly x (see NumberText.cpp for the rule).
std::string FormatFloat(double x);
// The leading number of a text, 0 when there is none ("  12abc" reads 12, "0x1F" 31).
double ParseNumber(std::string_view s);

}  // namespace zb
