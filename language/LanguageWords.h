// The words of the language that completion offers beside built-ins and declared names.
// Platform-free.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// The keywords completion offers: the words of the IDE's keyword list (blank or line
// separated) that the language itself knows, once each and in the list's order and letter
// case, then the language's keywords the list lacks. Words the list only colours (typedef,
// typeof ...) are left out.
std::vector<std::string> CompletionKeywords(std::string_view keywordList);
