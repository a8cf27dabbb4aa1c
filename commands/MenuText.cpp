// The fixed menus and help texts.
#include "commands/MenuText.h"
#include "commands/CommandIds.h"
#include "commands/HelpPages.h"

namespace {
constexpr FixedItem Separator = {"", 0};

// As stored: every "*" stands for a tab that aligns the descriptions.
const char* const KeyHelpStored =
    "\r\n\r\n"
    "  FUNCTION KEYS\r\n"
    "\r\n"
    "  F1            *Language HELP\r\n"
    "  SHIFT F1      *ZorvexIde HELP\r\n"
    "  ctrl F1       *About\r\n"
    "  F3            **FIND NEXT\r\n"
    "  SHIFT F3      *FIND prev\r\n"
    "  ctrl F3       *capture keyword\r\n"
    "  F4            **FIND/REPLACE NEXT\r\n"
    "  SHIFT F4      *FIND/REPLACE prev\r\n"
    "  ctrl F4       *capture keyword\r\n"
    "  Alt-F4        *SAVE AND Quit\r\n"
    "  F5            *Exec direct 32 BIT\r\n"
    "  SHIFT F5      *Exec direct 64 BIT\r\n"
    "  ctrl  F5      *Compile 32BIT BINARY\r\n"
    "  ctrl SHIFT F5 *Compile 64BIT BINARY\r\n"
    "  F7            *DOS console\r\n"
    "  ctrl F7       *FIND Files by Keyword (FindEd)\r\n"
    "  F8            *LOAD File\r\n"
    "  F9            *SAVE File\r\n"
    "  SHIFT F9      *Save AS ..\r\n"
    "\r\n"
    "  OTHER KEYS\r\n"
    "\r\n"
    "  ^A     *SELECT ALL\r\n"
    "  ^C     *COPY\r\n"
    "  ^E     *Exec Program\r\n"
    "  ^X     *Cut\r\n"
    "  ^V     *Paste\r\n"
    "  ^F     *FIND (edit BOX)\r\n"
    "  ^R     *REPLACE (edit BOX)\r\n"
    "  ^O     *OPEN File\r\n"
    "  ^S     *SAVE File\r\n"
    "  ^T     *TimeStamp\r\n"
    "  ^Z     *Undo\r\n"
    "\r\n"
    "  ^G     *GOTO LINE number (edit BOX)\r\n"
    "  ^Home  *GOTO Top\r\n"
    "  ^END   *GOTO bottom\r\n"
    "\r\n"
    "  DEBUGGER\r\n"
    "\r\n"
    "  ^B            *Breakpoint on/off\r\n"
    "  ^D            *Debug: run / stop / go on\r\n"
    "  Pause         *Stop the running program\r\n"
    "  while stopped:\r\n"
    "  F5            *Continue\r\n"
    "  F10           *Step over\r\n"
    "  SHIFT F10     *Step BACK\r\n"
    "  F11           *Step into\r\n"
    "  SHIFT F11     *Step out\r\n"
    "  ctrl F10      *Run to the caret\r\n"
    "  F6            *Next frame of the call stack\r\n"
    "  SHIFT F5      *End the program\r\n"
    "  KeywordBox    *? expr  let x = expr  watch x  when cond  unwatch\r\n"
    "\r\n"
    "  ";
}  // namespace

const std::vector<FixedMenu>& MenusBeforeProject() {
  static const std::vector<FixedMenu> menus = {
      {"&File",
       {{"&New File", MenuNewFile},
        {"&Open\tctrl-o  F8", MenuOpen},
        {"&Save\tctrl-s  F9", MenuSave},
        {"Save &As...\tshift-F9", MenuSaveAs},
        Separator,
        {"Systeminfo", MenuSysteminfo},
        {"FileProperty", MenuFileProperty},
        {"Command_Prompt", MenuCommandPrompt},
        {"E&xit\tAlt-F4", MenuExit}}},
      {"&Search/Edit",
       {{"&Undo\tctrl-z", MenuUndo},
        {"&Search\tctrl-t", MenuSearch},
        Separator,
        {"Cu&t\tctrl-x", MenuCut},
        {"&Copy\tctrl-c", MenuCopy},
        {"&Paste\tctrl-v", MenuPaste},
        {"&Find\tctrl-f", MenuFind},
        {"&Replace\tctrl-r", MenuReplace},
        {"Select &All\tctrl-a", MenuSelectAll}}},
      {"&Compile",
       {{"QuickRun & Execute\tctrl-e  F5", MenuQuickRun},
        {"Run & Compiling\tctrl-F5", MenuRunCompiling},
        Separator,
        {"Compiling exe-File\t", MenuOutputExe},
        {"Compiling dll-File\t", MenuOutputDll}}},
      {"&Options", {{"use Editor", MenuUseEditor}, {"colorizing", MenuColorizing}, {"compiler-path", MenuCompilerPath}}},
  };
  return menus;
}

const FixedMenu& HelpMenu() {
  static const FixedMenu help = {"&Help",
                                 {{"Zorvex Help\tF1", MenuHelp},
                                  {"About\tctrl-F1", MenuAbout},
                                  Separator,
                                  {"Beginner example\tF2", MenuBeginnerExample},
                                  {"Show Image\tctrl-F2", MenuShowImage}}};
  return help;
}

std::string KeyHelpText() {
  std::string text = KeyHelpStored;
  for (size_t at = text.find('*'); at != std::string::npos; at = text.find('*', at + 1)) text[at] = '\t';
  return text;
}

std::string HelpCommandLine(std::string_view programDir, std::string_view word) {
  std::string line = "hh.exe " + std::string(programDir) + "\\inf\\zorvex_help.chm";
  if (!word.empty()) line += "::/" + HelpPageName(word);
  return line;
}
