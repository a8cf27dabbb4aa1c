// In-memory dialog templates, byte for byte as CreateDialogIndirectParamA reads them: a header
// with its caption (and font, with DS_SETFONT), then one 4-byte aligned item per control.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Turns one of the program's single-byte strings into UTF-16, without the terminating NUL.
using WidenText = std::u16string (*)(const std::string& text);

constexpr size_t DialogTemplateCapacity = 20480;  // bytes of one template buffer
constexpr uint32_t DialogSetFont = 0x40;           // DS_SETFONT: the header carries a font
constexpr int CentredControl = -1;                 // an x that centres the control

struct DialogTemplate {
  std::vector<unsigned char> bytes;  // DialogTemplateCapacity bytes, zero-filled; empty once released
  size_t used = 0;                   // write position: bytes written so far
  int controls = 0;                  // controls added so far (also stored in the header)
  int width = 0;                     // dialog width in dialog units, for centring
  WidenText widen = nullptr;         // the string conversion used for every text
};

// A fresh template with its header. False (and an empty template) when the header alone does
// not fit the buffer.
bool BeginDialogTemplate(DialogTemplate& dialog, int x, int y, int width, int height, const std::string& caption,
                         uint32_t style, int fontSize, const std::string& fontName, uint32_t exStyle,
                         WidenText widen);

// Appends one control (WS_CHILD | WS_VISIBLE added to style; class always by name; a non-zero
// ordinal replaces the text) and rewrites the control count. An x of CentredControl centres it.
// False, with the template unchanged, when the item would not fit the buffer.
bool AddDialogControl(DialogTemplate& dialog, const std::string& text, int id, const std::string& className,
                      uint32_t style, int x, int y, int width, int height, uint32_t exStyle, int ordinal);

// A "BUTTON" control with BS_DEFPUSHBUTTON | WS_TABSTOP added to style.
bool AddDefaultButton(DialogTemplate& dialog, const std::string& text, int id, int x, int y, int width, int height,
                      uint32_t style, uint32_t exStyle, int ordinal);

// x of a control of controlWidth centred in dialogWidth: half the difference, halves to even.
int CentredX(int dialogWidth, int controlWidth);

// True for a caption that reads as a number rounding to a non-zero integer, or that is "0":
// such a caption most likely came from arguments given in the wrong order.
bool CaptionLooksNumeric(const std::string& caption);

// The base units of a dialog's font in pixels: its average character width (the 52 letters
// A..Z and a..z measured together, the average rounded to the nearest pixel, as the platform
// takes it) and its character height.
struct DialogBaseUnits {
  int x = 0, y = 0;
};
DialogBaseUnits BaseUnitsOf(int lettersWidth, int height);

// A place or a size in dialog units, or in pixels.
struct DialogRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const DialogRect&) const = default;
};
// Dialog units as pixels: across by a quarter of the base width, down by an eighth of the base
// height, each rounded to the nearest pixel with halves away from zero, as MapDialogRect does.
DialogRect DialogUnitsToPixels(DialogRect units, DialogBaseUnits base);
