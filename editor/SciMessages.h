// Numbers of the Scintilla messages the program sends to the editor.
#pragma once

constexpr unsigned SCI_CLEARALL = 2004;
constexpr unsigned SCI_GETLENGTH = 2006;
constexpr unsigned SCI_GETCURRENTPOS = 2008;
constexpr unsigned SCI_SETUNDOCOLLECTION = 2012;
constexpr unsigned SCI_SETSAVEPOINT = 2014;
constexpr unsigned SCI_GOTOLINE = 2024;
constexpr unsigned SCI_GOTOPOS = 2025;
constexpr unsigned SCI_MARKERDEFINE = 2040;
constexpr unsigned SCI_MARKERSETFORE = 2041;
constexpr unsigned SCI_MARKERSETBACK = 2042;
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
constexpr unsigned SCI_GETLINECOUNT = 2154;
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
constexpr unsigned SCI_GETFOLDLEVEL = 2223;
constexpr unsigned SCI_GETFOLDPARENT = 2225;
constexpr unsigned SCI_GETLINEVISIBLE = 2228;
constexpr unsigned SCI_TOGGLEFOLD = 2231;
constexpr unsigned SCI_ENSUREVISIBLE = 2232;
constexpr unsigned SCI_SETFOLDFLAGS = 2233;
constexpr unsigned SCI_ENSUREVISIBLEENFORCEPOLICY = 2234;
constexpr unsigned SCI_SETMARGINTYPEN = 2240;
constexpr unsigned SCI_SETMARGINWIDTHN = 2242;
constexpr unsigned SCI_GETMARGINWIDTHN = 2243;
constexpr unsigned SCI_SETMARGINMASKN = 2244;
constexpr unsigned SCI_SETMARGINSENSITIVEN = 2246;
constexpr unsigned SCI_TEXTWIDTH = 2276;
constexpr unsigned SCI_APPENDTEXT = 2282;
constexpr unsigned SCI_GETCHARACTERPOINTER = 2520;
constexpr unsigned SCI_SETEMPTYSELECTION = 2556;
constexpr unsigned SCI_ALLOCATE = 2446;
constexpr unsigned SCI_SETMODEVENTMASK = 2359;
constexpr unsigned SCI_SETSTATUS = 2382;
constexpr unsigned SCI_GETSTATUS = 2383;
constexpr unsigned SCI_FOLDALL = 2662;
constexpr unsigned SCI_SETAUTOMATICFOLD = 2663;
constexpr unsigned SCI_SETTARGETRANGE = 2686;
constexpr unsigned SCI_SETLEXER = 4001;
constexpr unsigned SCI_SETKEYWORDS = 4005;
constexpr unsigned SCI_SETILEXER = 4033;

// Margin types (SCI_SETMARGINTYPEN): symbols, such as the fold markers, and line numbers.
constexpr int SC_MARGIN_SYMBOL = 0;
// The listing panel and the bookmarks: read-only text, own styling and fold levels, markers.
constexpr unsigned SCI_STARTSTYLING = 2032;
constexpr unsigned SCI_MARKERADD = 2043;
constexpr unsigned SCI_MARKERDELETE = 2044;
constexpr unsigned SCI_MARKERDELETEALL = 2045;
constexpr unsigned SCI_MARKERGET = 2046;
constexpr unsigned SCI_MARKERNEXT = 2047;
constexpr unsigned SCI_MARKERPREVIOUS = 2048;
constexpr unsigned SCI_SETSTYLINGEX = 2073;
constexpr unsigned SCI_GETLINEENDPOSITION = 2136;
constexpr unsigned SCI_POSITIONFROMLINE = 2167;
constexpr unsigned SCI_SETREADONLY = 2171;
constexpr unsigned SCI_SETFOLDLEVEL = 2222;
constexpr int SC_MARK_BACKGROUND = 22;
constexpr int SC_MARK_BOOKMARK = 31;
constexpr unsigned SC_MASK_FOLDERS = 0xFE000000u;
constexpr int SC_AUTOMATICFOLD_SHOW = 0x1;
constexpr int SC_AUTOMATICFOLD_CLICK = 0x2;
constexpr int SC_AUTOMATICFOLD_CHANGE = 0x4;

constexpr int SC_MARGIN_NUMBER = 1;

// Notifications the editor sends its parent with WM_NOTIFY.
constexpr unsigned SCN_CHARADDED = 2001;
constexpr unsigned SCN_DOUBLECLICK = 2006;
constexpr unsigned SCN_AUTOCSELECTION = 2022;
constexpr unsigned SCN_UPDATEUI = 2007;
constexpr unsigned SCN_MODIFIED = 2008;
constexpr unsigned SCN_MARGINCLICK = 2010;

// The style the line numbers are drawn in.
constexpr int STYLE_LINENUMBER = 33;

// Fold levels as the lexer sets them (SCI_GETFOLDLEVEL).
constexpr int SC_FOLDLEVELHEADERFLAG = 0x2000;

// The fold markers, their shapes, and the margin mask that shows them.
constexpr int SC_MARKNUM_FOLDEREND = 25;
constexpr int SC_MARKNUM_FOLDEROPENMID = 26;
constexpr int SC_MARKNUM_FOLDERMIDTAIL = 27;
constexpr int SC_MARKNUM_FOLDERTAIL = 28;
constexpr int SC_MARKNUM_FOLDERSUB = 29;
constexpr int SC_MARKNUM_FOLDER = 30;
constexpr int SC_MARKNUM_FOLDEROPEN = 31;
constexpr int SC_MARK_VLINE = 9;
constexpr int SC_MARK_LCORNER = 10;
constexpr int SC_MARK_TCORNER = 11;
constexpr int SC_MARK_BOXPLUS = 12;
constexpr int SC_MARK_BOXPLUSCONNECTED = 13;
constexpr int SC_MARK_BOXMINUS = 14;
constexpr int SC_MARK_BOXMINUSCONNECTED = 15;

// Folding behaviour: folds follow edits and show hidden lines that need showing; a line is
// drawn under a folded block; SCI_FOLDALL's actions.
constexpr int SC_FOLDFLAG_LINEAFTER_CONTRACTED = 0x0010;
constexpr int SC_FOLDACTION_CONTRACT = 0;
constexpr int SC_FOLDACTION_EXPAND = 1;
constexpr int SC_FOLDACTION_CONTRACT_EVERY_LEVEL = 4;

// Changes that SCN_MODIFIED reports (SCI_SETMODEVENTMASK): text inserted or deleted, before and
// after, and how (typed, undone, redone).
constexpr int SC_MOD_INSERTTEXT = 0x1;
constexpr int SC_MOD_DELETETEXT = 0x2;
constexpr int SC_PERFORMED_USER = 0x10;
constexpr int SC_PERFORMED_UNDO = 0x20;
constexpr int SC_PERFORMED_REDO = 0x40;
constexpr int SC_MULTISTEPUNDOREDO = 0x80;
constexpr int SC_LASTSTEPINUNDOREDO = 0x100;
constexpr int SC_MOD_BEFOREINSERT = 0x400;
constexpr int SC_MOD_BEFOREDELETE = 0x800;
// The editing aids: indentation, comments, Tab on lines, matching blocks and brackets.
constexpr unsigned SCI_GETANCHOR = 2009;
constexpr unsigned SCI_GETSTYLEAT = 2010;
constexpr unsigned SCI_GETENDSTYLED = 2028;
constexpr unsigned SCI_GETEOLMODE = 2030;
constexpr unsigned SCI_SETEOLMODE = 2031;
constexpr unsigned SCI_INDICSETSTYLE = 2080;
constexpr unsigned SCI_INDICSETFORE = 2082;
constexpr unsigned SCI_GETTABWIDTH = 2121;
constexpr unsigned SCI_GETDIRECTFUNCTION = 2184;
constexpr unsigned SCI_GETDIRECTPOINTER = 2185;
constexpr unsigned SCI_NEWLINE = 2329;
constexpr unsigned SCI_BRACEHIGHLIGHT = 2351;
constexpr unsigned SCI_BRACEBADLIGHT = 2352;
constexpr unsigned SCI_SELECTIONISRECTANGLE = 2372;
constexpr unsigned SCI_STYLEGETBACK = 2482;
constexpr unsigned SCI_STYLEGETSIZE = 2485;
constexpr unsigned SCI_STYLEGETFONT = 2486;
constexpr unsigned SCI_SETINDICATORCURRENT = 2500;
constexpr unsigned SCI_INDICATORFILLRANGE = 2504;
constexpr unsigned SCI_INDICATORCLEARRANGE = 2505;
constexpr unsigned SCI_INDICATORVALUEAT = 2507;
constexpr unsigned SCI_INDICSETUNDER = 2510;
constexpr unsigned SCI_INDICSETALPHA = 2523;
constexpr unsigned SCI_INDICSETOUTLINEALPHA = 2558;
constexpr unsigned SCI_GETSELECTIONS = 2570;
constexpr unsigned SCI_GETRANGEPOINTER = 2643;
constexpr unsigned SCI_COLOURISE = 4003;
constexpr int SC_EOL_CR = 1;
constexpr int SC_EOL_LF = 2;
constexpr int INDIC_ROUNDBOX = 7;
constexpr int INDICATOR_CONTAINER = 8;  // the first indicator the lexer leaves to the program
constexpr int STYLE_BRACELIGHT = 34;
constexpr int STYLE_BRACEBAD = 35;
constexpr int SC_UPDATE_CONTENT = 1;    // SCN_UPDATEUI: the text or its styling changed
constexpr int SC_UPDATE_SELECTION = 2;  // SCN_UPDATEUI: the caret or the selection moved

// Markers and indicators of the error mark.
constexpr int INDIC_SQUIGGLE = 1;
constexpr int SC_MARK_CIRCLE = 0;

// The completion list and the parameter hints.
constexpr unsigned SCI_AUTOCSHOW = 2100;
constexpr unsigned SCI_AUTOCCANCEL = 2101;
constexpr unsigned SCI_AUTOCACTIVE = 2102;
constexpr unsigned SCI_AUTOCSETCHOOSESINGLE = 2113;
constexpr unsigned SCI_AUTOCSETIGNORECASE = 2115;
constexpr unsigned SCI_AUTOCSETMAXHEIGHT = 2210;
constexpr unsigned SCI_AUTOCSETCASEINSENSITIVEBEHAVIOUR = 2634;
constexpr unsigned SCI_AUTOCSETORDER = 2660;
constexpr unsigned SCI_CALLTIPSHOW = 2200;
constexpr unsigned SCI_CALLTIPCANCEL = 2201;
constexpr unsigned SCI_CALLTIPACTIVE = 2202;
constexpr unsigned SCI_CALLTIPSETHLT = 2204;
constexpr unsigned SCI_GETDOCPOINTER = 2357;
