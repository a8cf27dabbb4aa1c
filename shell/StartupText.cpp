// Fixed texts of start-up.
#include "shell/StartupText.h"
#include "shell/Version.h"
#include "base/TextScan.h"

const char* const KeywordList =
    "\r\n"
    "### #alert #assign #autodim\r\n"
    "#blockdepth #byref #byval\r\n"
    "#case #compact #collect #console\r\n"
    "#def #define\r\n"
    "#ELSE #ELSEIF #emit #ENDIF #endv #error\r\n"
    "#file #fily #IF #ifdef #ifndef #INCLUDE #inx #insert\r\n"
    "#lookahead\r\n"
    "#follow\r\n"
    "#foreward \r\n"
    "#pindex\r\n"
    "#noinit #noprec\r\n"
    "#fpnprecision\r\n"
    "#pragma  #print\r\n"
    "#recordof\r\n"
    "#semicolon #show\r\n"
    "#undef #undefine #UNIQUE\r\n"
    "#view\r\n"
    "\r\n"
    "abs acos add addr alias and any anymatch arnd as asc asciiz asin as at atan atn\r\n"
    "bind block bool break bstr bstring byref byte of byval \r\n"
    "call case cast cdecl ceil char chr class class collect COM comparestr compile const\r\n"
    "continue convert copy copy0 copy00 copyn COS countof cpu\r\n"
    "data dataspace db dd declare def deff defined deg del dim div do double dq dw dword\r\n"
    "else elseif embedfile encodingof nd enddo endif endselect endwhile\r\n"
    "enum error exit exp export ext extends extended extern external\r\n"
    "false fily float floor for fpu frac freelibrary freelibs freememory frees freestrings\r\n"
    "function from long if end if \r\n"
    "getfile getmemory getprocaddress global gosub goto guidbin guidtxt guidval\r\n"
    "zor has hex hibyte hiword hypot\r\n"
    "idiv if irnd irnd2 incl include includepath indexbase indexers instr int integer inx #inx \r\n"
    "jmp\r\n"
    "label lcase lea leaf left  leftmatch len let lib library librarypath lin link load \r\n"
    "loadlibrary local LOG LOG10 LOG2 logn long lobyte loword ltrim\r\n"
    "macro #macro match mbox method methods msgbox mid mmx mod mov ms64 mul\r\n"
    "new news next not null nuls numberformat\r\n"
    "of offset offsetof once operator or 'q9 q9h\r\n"
    "packed pascal pi pim pow preset p? print printy private pbmain zorvex protected prototypeof \r\n"
    "pro public pure putfile\r\n"
    "quote dword qword quad redim return right single static string strptr select\r\n"
    "rad readstate recip recordof redim repeat ret return right rightmatch rol ror round rnd rtrim\r\n"
    "scope select sgn shl short shr pindex signed sin single sizeof skip space spanof\r\n"
    "sqr sqrt static stdcall step str pstring string strptr struct structureof sub switch 'sys\r\n"
    "tan terminate take that then true\r\n"
    "this to  trunc type typecodeof typedef typeof\r\n"
    "ubyte ucase uint ulong undef undefined unic union unsigned use uses using until\r\n"
    "val var version virtual void\r\n"
    "wbstring wchar wchr wend WEND when while wide with word wstring wzstring\r\n"
    "xor zero\r\n"
    "zstring\r\n";

const char* const ConsoleBanner = "Zorvex Basic by the Zorvex IDE project ";
const char* const NoErrorCheckLine = "zorvex.dll has no zor_check: errors are not shown as you type";

const char* const ToolbarPictureFiles[10] = {
    "pix/narzisse3.bmp", "pix/musiker.bmp", "pix/blattstein.bmp", "pix/gitarre.bmp",
    "pix/pizza.bmp",     "pix/hundies.bmp", "pix/torte.bmp",      "pix/akkordeon.bmp",
    "pix/b\xE4nke.bmp",  "pix/sonne1b.bmp"};

std::string ComposeAboutText() {
  std::string text;
  text += "ZorvexIde - an editor and build front end for Zorvex Basic\r\n";
  text += "Version " ZOR_VERSION "\r\n";
  text += "\r\n";
  text += "Written by the Zorvex IDE project\r\n";
  text += "Compiler: Zorvex Basic (zorvex.dll, zor5.exe)\r\n";
  text += "Editing component: Scintilla\r\n";
  text += "\r\n";
  text += "Web site: the Zorvex IDE project pages\r\n";
  return text;
}

std::string EmergencyCopyName(std::string_view document) {
  const std::string name = NamePart(document);
  const std::string folder(document.substr(0, document.size() - name.size()));
  const size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  return folder + stem + "~unsaved" + name.substr(stem.size());
}

const char* const EmergencyNoteFile = "zorvexIde.unsaved";

std::string EmergencyCopyLine(std::string_view copy) {
  return "\r\nThe session ended while the text was not saved; it is kept in " + std::string(copy) + "\r\n";
}
