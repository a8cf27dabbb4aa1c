// File names shortened for the window's title.
#pragma once
#include <string>
#include <string_view>

// Longest file name a title shows in full.
constexpr size_t ShortTitleLimit = 64;
// The name, or "..." and its last 64 characters when it is longer.
std::string ShortTitle(std::string_view name);
