// The compiler library's answers: a query text holds the user's source with one listing
// directive inserted (#list, #recordof or #show with a quoted file name); the answer is the
// text to write to that file.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zb {

struct QueryAnswer {
  bool write = false;  // false when the text holds no directive
  std::string file;
  std::string text;
};

// stackFloor: the lowest stack address reading the program may reach (0: no limit).
QueryAnswer AnswerQuery(std::string_view text, uintptr_t stackFloor = 0);

}  // namespace zb
