// The dialog template builder: header, control items, centring.
#include "auxwin/DialogTemplate.h"
#include "base/DisplayScale.h"
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {
constexpr uint32_t ChildVisible = 0x50000000;     // WS_CHILD | WS_VISIBLE
constexpr uint32_t DefaultButton = 0x00010001;    // BS_DEFPUSHBUTTON | WS_TABSTOP
constexpr size_t HeaderFixed = 18;                // style, ex-style, count, x, y, cx, cy
constexpr size_t ItemFixed = 18;                  // style, ex-style, x, y, cx, cy, id
constexpr size_t ControlCountAt = 8;              // offset of the header's control count

size_t TextBytes(const std::u16string& text) { return 2 * (text.size() + 1); }
size_t AlignTo4(size_t at) { return (at + 3) & ~size_t(3); }

void Put16(DialogTemplate& dialog, uint32_t value) {
  dialog.bytes[dialog.used++] = static_cast<unsigned char>(value & 0xFF);
  dialog.bytes[dialog.used++] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

void Put32(DialogTemplate& dialog, uint32_t value) {
  Put16(dialog, value & 0xFFFF);
  Put16(dialog, value >> 16);
}

// Coordinates and identifiers are 16-bit fields; larger values keep their low 16 bits.
void PutShort(DialogTemplate& dialog, int value) { Put16(dialog, static_cast<uint32_t>(value) & 0xFFFF); }

void PutText(DialogTemplate& dialog, const std::u16string& text) {
  for (char16_t c : text) Put16(dialog, c);
  Put16(dialog, 0);
}

void StoreControlCount(DialogTemplate& dialog) {
  dialog.bytes[ControlCountAt] = static_cast<unsigned char>(dialog.controls & 0xFF);
  dialog.bytes[ControlCountAt + 1] = static_cast<unsigned char>((dialog.controls >> 8) & 0xFF);
}

// The leading number of text as a Basic reader takes it: blanks, sign, digits, fraction,
// exponent; 0 when the text does not start with a number.
double LeadingNumber(const std::string& text) {
  size_t at = text.find_first_not_of(' ');
  if (at == std::string::npos) return 0;
  std::string number;
  if (text[at] == '+' || text[at] == '-') number += text[at++];
  auto digits = [&] {
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') number += text[at++];
  };
  digits();
  if (at < text.size() && text[at] == '.') {
    number += text[at++];
    digits();
  }
  size_t mantissaEnd = number.size();
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    size_t exponentAt = at;
    std::string exponent(1, 'e');
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) exponent += text[at++];
    size_t before = exponent.size();
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') exponent += text[at++];
    if (exponent.size() > before) number += exponent;
    else at = exponentAt;
  }
  if (number.find_first_of("0123456789") >= mantissaEnd) return 0;
  return std::strtod(number.c_str(), nullptr);
}
}  // namespace

int CentredX(int dialogWidth, int controlWidth) {
  // The difference is taken in double, where no pair of ints overflows, and its half is kept in
  // the int range (the field keeps only its low 16 bits anyway).
  const double half = (static_cast<double>(dialogWidth) - controlWidth) / 2.0;
  return static_cast<int>(std::clamp(std::nearbyint(half), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

DialogBaseUnits BaseUnitsOf(int lettersWidth, int height) { return {(lettersWidth / 26 + 1) / 2, height}; }

DialogRect DialogUnitsToPixels(DialogRect units, DialogBaseUnits base) {
  return {ScaledRounded(units.x, base.x, 4), ScaledRounded(units.y, base.y, 8), ScaledRounded(units.width, base.x, 4),
          ScaledRounded(units.height, base.y, 8)};
}

bool CaptionLooksNumeric(const std::string& caption) {
  return caption == "0" || std::nearbyint(LeadingNumber(caption)) != 0;
}

bool BeginDialogTemplate(DialogTemplate& dialog, int x, int y, int width, int height, const std::string& caption,
                         uint32_t style, int fontSize, const std::string& fontName, uint32_t exStyle,
                         WidenText widen) {
  dialog = DialogTemplate{};
  const std::u16string title = widen(caption);
  const bool withFont = (style & DialogSetFont) != 0;
  const std::u16string face = withFont ? widen(fontName) : std::u16string();
  size_t size = HeaderFixed + 2 + 2 + TextBytes(title) + (withFont ? 2 + TextBytes(face) : 0);
  if (size > DialogTemplateCapacity) return false;
  dialog.bytes.assign(DialogTemplateCapacity, 0);
  dialog.width = width;
  dialog.widen = widen;
  Put32(dialog, style);
  Put32(dialog, exStyle);
  Put16(dialog, 0);  // control count, rewritten by every control added
  PutShort(dialog, x);
  PutShort(dialog, y);
  PutShort(dialog, width);
  PutShort(dialog, height);
  Put16(dialog, 0);  // no menu
  Put16(dialog, 0);  // the standard dialog class
  PutText(dialog, title);
  if (withFont) {
    PutShort(dialog, fontSize);
    PutText(dialog, face);
  }
  return true;
}

bool AddDialogControl(DialogTemplate& dialog, const std::string& text, int id, const std::string& className,
                      uint32_t style, int x, int y, int width, int height, uint32_t exStyle, int ordinal) {
  if (dialog.bytes.empty() || !dialog.widen) return false;
  const std::u16string cls = dialog.widen(className);
  const std::u16string title = ordinal != 0 ? std::u16string() : dialog.widen(text);
  const size_t start = AlignTo4(dialog.used);
  const size_t size = ItemFixed + TextBytes(cls) + (ordinal != 0 ? 4 : TextBytes(title)) + 2;
  if (start > DialogTemplateCapacity || size > DialogTemplateCapacity - start) return false;
  if ((x & 0xFFFF) == 0xFFFF) x = CentredX(dialog.width, width);
  dialog.used = start;
  Put32(dialog, ChildVisible | style);
  Put32(dialog, exStyle);
  PutShort(dialog, x);
  PutShort(dialog, y);
  PutShort(dialog, width);
  PutShort(dialog, height);
  PutShort(dialog, id);
  PutText(dialog, cls);
  if (ordinal != 0) {
    Put16(dialog, 0xFFFF);
    PutShort(dialog, ordinal);
  } else {
    PutText(dialog, title);
  }
  Put16(dialog, 0);  // no creation data
  ++dialog.controls;
  StoreControlCount(dialog);
  return true;
}

bool AddDefaultButton(DialogTemplate& dialog, const std::string& text, int id, int x, int y, int width, int height,
                      uint32_t style, uint32_t exStyle, int ordinal) {
  return AddDialogControl(dialog, text, id, "BUTTON", DefaultButton | style, x, y, width, height, exStyle, ordinal);
}
