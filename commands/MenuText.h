// The menu bar's fixed menus and the help texts: item names with their shortcut texts, the
// identifiers they send, the key help box and the help viewer's command line. Platform-free.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// One item of a fixed menu; a separator has no text and identifier 0.
struct FixedItem {
  const char* text;
  int id;
};
// One popup of the bar with its items, in bar order.
struct FixedMenu {
  const char* name;
  std::vector<FixedItem> items;
};
// "&File", "&Search/Edit", "&Compile" and "&Options" come before the Project menu, "&Help"
// after it.
const std::vector<FixedMenu>& MenusBeforeProject();
const FixedMenu& HelpMenu();

// The key help box's text: the fixed list of keys with every "*" turned into a tab.
std::string KeyHelpText();
// The help viewer's command line: "hh.exe " and the help file below programDir, at the page of
// word (HelpPageName) or, for an empty word, at its default page. Nothing is quoted.
std::string HelpCommandLine(std::string_view programDir, std::string_view word);
