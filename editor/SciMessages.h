// Numbers of the Scintilla messages the program sends to the editor.
#pragma once

constexpr unsigned SCI_CLEARALL = 2004;
constexpr unsigned SCI_GETLENGTH = 2006;
constexpr unsigned SCI_GETCURRENTPOS = 2008;
constexpr unsigned SCI_SETUNDOCOLLECTION = 2012;
constexpr unsigned SCI_SETSAVEPOINT = 2014;
constexpr unsigned SCI_GOTOLINE = 2024;
constexpr unsigned SCI_GOTOPOS = 2025;
constexpr unsigned SCI_GETFIRSTVISIBLELINE = 2152;
constexpr unsigned SCI_SETTABWIDTH = 2036;
constexpr unsigned SCI_SETCODEPAGE = 2037;
constexpr unsigned SCI_STYLECLEARALL = 2050;
constexpr unsigned SCI_STYLESETFORE = 2051;
constexpr unsigned SCI_STYLESETBACK = 2052;
constexpr unsigned SCI_STYLESETBOLD = 2053;
constexpr unsigned SCI_STYLESETSIZE = 2055;
constexpr unsigned SCI_STYLESETFONT = 2056;
constexpr unsigned SCI_SETCARETFORE = 2069;
constexpr unsigned SCI_BEGINUNDOACTION = 2078;
constexpr unsigned SCI_ENDUNDOACTION = 2079;
constexpr unsigned SCI_SETCARETLINEVISIBLE = 2096;
constexpr unsigned SCI_SETCARETLINEBACK = 2098;
constexpr unsigned SCI_GETSELECTIONSTART = 2143;
constexpr unsigned SCI_GETSELECTIONEND = 2145;
constexpr unsigned SCI_SETSEL = 2160;
constexpr unsigned SCI_SCROLLCARET = 2169;
constexpr unsigned SCI_LINEFROMPOSITION = 2166;
constexpr unsigned SCI_EMPTYUNDOBUFFER = 2175;
constexpr unsigned SCI_UNDO = 2176;
constexpr unsigned SCI_CUT = 2177;
constexpr unsigned SCI_COPY = 2178;
constexpr unsigned SCI_PASTE = 2179;
constexpr unsigned SCI_SETTEXT = 2181;
constexpr unsigned SCI_GETTEXT = 2182;
constexpr unsigned SCI_GETTEXTLENGTH = 2183;
constexpr unsigned SCI_SETTARGETSTART = 2190;
constexpr unsigned SCI_SETTARGETEND = 2192;
constexpr unsigned SCI_REPLACETARGET = 2194;
constexpr unsigned SCI_SETMARGINTYPEN = 2240;
constexpr unsigned SCI_SETMARGINWIDTHN = 2242;
constexpr unsigned SCI_APPENDTEXT = 2282;
constexpr unsigned SCI_GETCHARACTERPOINTER = 2520;
constexpr unsigned SCI_SETEMPTYSELECTION = 2556;
constexpr unsigned SCI_ALLOCATE = 2446;
constexpr unsigned SCI_SETSTATUS = 2382;
constexpr unsigned SCI_GETSTATUS = 2383;
constexpr unsigned SCI_SETTARGETRANGE = 2686;
constexpr unsigned SCI_SETLEXER = 4001;
constexpr unsigned SCI_SETKEYWORDS = 4005;
constexpr unsigned SCI_SETILEXER = 4033;

// The listing panel and the bookmarks: read-only text, own styling and fold levels, markers.
constexpr unsigned SCI_STARTSTYLING = 2032;
constexpr unsigned SCI_MARKERDEFINE = 2040;
constexpr unsigned SCI_MARKERSETFORE = 2041;
constexpr unsigned SCI_MARKERSETBACK = 2042;
constexpr unsigned SCI_MARKERADD = 2043;
constexpr unsigned SCI_MARKERDELETE = 2044;
constexpr unsigned SCI_MARKERDELETEALL = 2045;
constexpr unsigned SCI_MARKERGET = 2046;
constexpr unsigned SCI_MARKERNEXT = 2047;
constexpr unsigned SCI_MARKERPREVIOUS = 2048;
constexpr unsigned SCI_SETSTYLINGEX = 2073;
constexpr unsigned SCI_GETLINEENDPOSITION = 2136;
constexpr unsigned SCI_GETLINECOUNT = 2154;
constexpr unsigned SCI_POSITIONFROMLINE = 2167;
constexpr unsigned SCI_SETREADONLY = 2171;
constexpr unsigned SCI_SETFOLDLEVEL = 2222;
constexpr unsigned SCI_GETFOLDLEVEL = 2223;
constexpr unsigned SCI_ENSUREVISIBLE = 2232;
constexpr unsigned SCI_SETMARGINMASKN = 2244;
constexpr unsigned SCI_SETMARGINSENSITIVEN = 2246;
constexpr unsigned SCI_SETAUTOMATICFOLD = 2663;
constexpr unsigned SCI_SETMODEVENTMASK = 2359;
constexpr int SC_MARGIN_SYMBOL = 0;
constexpr int SC_MARK_BACKGROUND = 22;
constexpr int SC_MARK_BOOKMARK = 31;
constexpr unsigned SC_MASK_FOLDERS = 0xFE000000u;
constexpr int SC_AUTOMATICFOLD_SHOW = 0x1;
constexpr int SC_AUTOMATICFOLD_CLICK = 0x2;
constexpr int SC_AUTOMATICFOLD_CHANGE = 0x4;

// Margin type of a line-number margin (SCI_SETMARGINTYPEN).
constexpr int SC_MARGIN_NUMBER = 1;

// Notifications the editor sends its parent with WM_NOTIFY, and the kinds of modification.
constexpr unsigned SCN_CHARADDED = 2001;
constexpr unsigned SCN_UPDATEUI = 2007;
constexpr unsigned SCN_MODIFIED = 2008;
constexpr unsigned SCN_MARGINCLICK = 2010;
constexpr int SC_MOD_INSERTTEXT = 0x1;
constexpr int SC_MOD_DELETETEXT = 0x2;
