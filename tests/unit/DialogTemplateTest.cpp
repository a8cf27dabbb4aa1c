// The welcome dialog's template bytes as the platform reads them, the font fields, the
// capacity refusal, centring and the numeric-caption rule.
#include <gtest/gtest.h>
#include <climits>
#include <string>
#include "auxwin/DialogTemplate.h"

namespace {
std::u16string Latin1(const std::string& text) {
  std::u16string wide;
  for (char c : text) wide += char16_t(static_cast<unsigned char>(c));
  return wide;
}

uint32_t Word(const DialogTemplate& d, size_t at) { return d.bytes[at] | (d.bytes[at + 1] << 8); }
uint32_t Dword(const DialogTemplate& d, size_t at) { return Word(d, at) | (Word(d, at + 2) << 16); }

// The UTF-16 string with its NUL at at; at moves past it.
std::string TextAt(const DialogTemplate& d, size_t& at) {
  std::string text;
  for (uint32_t c; (c = Word(d, at)) != 0; at += 2) text += char(c);
  at += 2;
  return text;
}

constexpr uint32_t WelcomeStyle = 0x10CF0800;  // WS_OVERLAPPEDWINDOW | WS_VISIBLE | DS_CENTER

DialogTemplate Welcome() {
  DialogTemplate d;
  EXPECT_TRUE(BeginDialogTemplate(d, 0, 0, 220, 190, "Zorvex Basic says welcome to Zor", WelcomeStyle, 0, "", 0,
                                  Latin1));
  EXPECT_TRUE(AddDefaultButton(d, "Close", 2, CentredControl, 165, 30, 12, 0, 0, 0));
  return d;
}
}  // namespace

TEST(DialogTemplate, WelcomeDialogHeaderAndItsCentredDefaultButton) {
  DialogTemplate d = Welcome();
  EXPECT_EQ(Dword(d, 0), WelcomeStyle);
  EXPECT_EQ(Dword(d, 4), 0u);
  EXPECT_EQ(Word(d, 8), 1u);  // the control count, rewritten after the button
  EXPECT_EQ(Word(d, 10), 0u);
  EXPECT_EQ(Word(d, 12), 0u);
  EXPECT_EQ(Word(d, 14), 220u);
  EXPECT_EQ(Word(d, 16), 190u);
  EXPECT_EQ(Word(d, 18), 0u);  // no menu
  EXPECT_EQ(Word(d, 20), 0u);  // the standard class
  size_t at = 22;
  EXPECT_EQ(TextAt(d, at), "Zorvex Basic says welcome to Zor");
  // No DS_SETFONT: the caption is the last header field, the item follows at a 4-byte boundary.
  const size_t item = (at + 3) & ~size_t(3);
  EXPECT_EQ(item, 88u);
  EXPECT_EQ(Dword(d, item), 0x50010001u);  // WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP
  EXPECT_EQ(Dword(d, item + 4), 0u);
  EXPECT_EQ(Word(d, item + 8), 95u);  // (220 - 30) / 2
  EXPECT_EQ(Word(d, item + 10), 165u);
  EXPECT_EQ(Word(d, item + 12), 30u);
  EXPECT_EQ(Word(d, item + 14), 12u);
  EXPECT_EQ(Word(d, item + 16), 2u);
  at = item + 18;
  EXPECT_NE(Word(d, at), 0xFFFFu);  // the class by name, never as an atom
  EXPECT_EQ(TextAt(d, at), "BUTTON");
  EXPECT_EQ(TextAt(d, at), "Close");
  EXPECT_EQ(Word(d, at), 0u);  // no creation data
  EXPECT_EQ(d.used, at + 2);
}

TEST(DialogTemplate, FontFieldsFollowTheCaptionOnlyWithSetFont) {
  DialogTemplate d;
  ASSERT_TRUE(BeginDialogTemplate(d, 1, 2, 100, 50, "Ab", 0x40, 9, "Tahoma", 0x80, Latin1));
  EXPECT_EQ(Dword(d, 4), 0x80u);
  size_t at = 22;
  EXPECT_EQ(TextAt(d, at), "Ab");
  EXPECT_EQ(Word(d, at), 9u);
  at += 2;
  EXPECT_EQ(TextAt(d, at), "Tahoma");
  EXPECT_EQ(d.used, at);

  DialogTemplate plain;
  ASSERT_TRUE(BeginDialogTemplate(plain, 1, 2, 100, 50, "Ab", 0, 9, "Tahoma", 0, Latin1));
  EXPECT_EQ(plain.used, 22u + 6u);
}

TEST(DialogTemplate, OrdinalTitlesAndLaterItemsStayAligned) {
  DialogTemplate d;
  ASSERT_TRUE(BeginDialogTemplate(d, 0, 0, 221, 100, "odd", 0, 0, "", 0, Latin1));
  ASSERT_TRUE(AddDialogControl(d, "ignored", 7, "STATIC", 0x3, CentredControl, 5, 30, 10, 0, 0x65));
  ASSERT_TRUE(AddDialogControl(d, "x", 8, "EDIT", 0, 4, 20, 40, 10, 0, 0));
  EXPECT_EQ(Word(d, 8), 2u);
  size_t first = 32;  // "odd" and its NUL end the header at 30
  EXPECT_EQ(Dword(d, first), 0x50000003u);
  EXPECT_EQ(Word(d, first + 8), 96u);  // 95.5 rounds to the even neighbour
  size_t at = first + 18;
  EXPECT_EQ(TextAt(d, at), "STATIC");
  EXPECT_EQ(Word(d, at), 0xFFFFu);
  EXPECT_EQ(Word(d, at + 2), 0x65u);
  at += 6;
  const size_t second = (at + 3) & ~size_t(3);
  EXPECT_EQ(second % 4, 0u);
  EXPECT_EQ(Word(d, second + 16), 8u);
}

TEST(DialogTemplate, AControlThatWouldNotFitIsRefusedAndNothingIsWritten) {
  DialogTemplate d;
  ASSERT_TRUE(BeginDialogTemplate(d, 0, 0, 100, 100, "full", 0, 0, "", 0, Latin1));
  const std::string text(400, 'x');
  int added = 0;
  while (AddDialogControl(d, text, 1, "BUTTON", 0, 0, 0, 10, 10, 0, 0)) ++added;
  EXPECT_GT(added, 10);
  EXPECT_EQ(Word(d, 8), unsigned(added));
  EXPECT_EQ(d.controls, added);
  EXPECT_LE(d.used, DialogTemplateCapacity);
  EXPECT_EQ(d.bytes.size(), DialogTemplateCapacity);
  const size_t before = d.used;
  EXPECT_FALSE(AddDialogControl(d, text, 1, "BUTTON", 0, 0, 0, 10, 10, 0, 0));
  EXPECT_EQ(d.used, before);
  EXPECT_EQ(d.controls, added);

  DialogTemplate huge;
  EXPECT_FALSE(BeginDialogTemplate(huge, 0, 0, 1, 1, std::string(DialogTemplateCapacity, 'c'), 0, 0, "", 0, Latin1));
  EXPECT_FALSE(AddDefaultButton(huge, "Close", 2, 0, 0, 1, 1, 0, 0, 0));
}

TEST(DialogTemplate, CentringRoundsHalvesToEven) {
  const struct { int dialog, control, x; } cases[] = {
      {220, 30, 95}, {221, 30, 96}, {223, 30, 96}, {30, 30, 0}, {20, 30, -5}, {21, 30, -4},
      // Widths far apart do not overflow.
      {INT_MAX, INT_MIN, INT_MAX}, {INT_MIN, INT_MAX, INT_MIN}, {INT_MAX, -1, 1073741824}};
  for (const auto& c : cases) EXPECT_EQ(CentredX(c.dialog, c.control), c.x) << c.dialog << " " << c.control;
}

TEST(DialogTemplate, NumericCaptionsAreTheOnesWarnedAbout) {
  const struct { const char* caption; bool warns; } cases[] = {
      {"0", true},     {"12", true},  {"Zor", false}, {"", false},      {"0.4", false}, {"0.6", true},
      {" 7 dwarfs", true}, {"-3", true}, {"00", false}, {"2.5", true},   {"0.5", false}, {"e5", false},
      {"1e3x", true},  {".", false},  {"Zorvex Basic says welcome to Zor", false}};
  for (const auto& c : cases) EXPECT_EQ(CaptionLooksNumeric(c.caption), c.warns) << '"' << c.caption << '"';
}

TEST(DialogUnits, BaseUnitsAreTheRoundedAverageOfTheLettersAndTheHeight) {
  const struct { int letters, height, x; } cases[] = {
      {364, 16, 7}, {377, 16, 7}, {390, 16, 8}, {403, 16, 8}, {416, 16, 8}, {468, 16, 9}, {0, 0, 0},
  };
  for (const auto& c : cases) {
    const DialogBaseUnits base = BaseUnitsOf(c.letters, c.height);
    EXPECT_EQ(base.x, c.x) << c.letters;
    EXPECT_EQ(base.y, c.height);
  }
}

TEST(DialogUnits, MapToPixelsByAQuarterAcrossAndAnEighthDownRoundedAsTheSystemDoes) {
  const struct { DialogRect units; DialogBaseUnits base; DialogRect pixels; } cases[] = {
      {{0, 0, 220, 190}, {8, 16}, {0, 0, 440, 380}},        // the welcome dialog on Windows
      {{0, 0, 220, 190}, {9, 16}, {0, 0, 495, 380}},        // and on Wine
      {{95, 165, 30, 12}, {8, 16}, {190, 330, 60, 24}},     // its Close button
      {{95, 165, 30, 12}, {9, 16}, {214, 330, 68, 24}},     // 213.75 and 67.5 go up
      {{95, 165, 30, 12}, {13, 24}, {309, 495, 98, 36}},
      {{-3, -5, 1, 1}, {6, 12}, {-5, -8, 2, 2}},            // halves away from zero
  };
  for (const auto& c : cases) EXPECT_EQ(DialogUnitsToPixels(c.units, c.base), c.pixels) << c.units.x;
}
