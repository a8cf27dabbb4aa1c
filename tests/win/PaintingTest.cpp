// The command buttons' faces drawn into a memory bitmap as the system asks for them: colours,
// the pressed edge, clipping of a caption wider than its button, and items that draw nothing.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include "base/SharedState.h"
#include "commands/CommandIds.h"
#include "shell/ButtonFaces.h"
#include "shell/Layout.h"
#include "shell/Painting_win.h"
#include "shell/Scaling_win.h"

namespace {
constexpr COLORREF Marker = RGB(1, 2, 3);  // what the bitmap holds before a draw

// A memory device context with a bitmap of its own, filled with Marker.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    HBRUSH marker = CreateSolidBrush(Marker);
    RECT all = {0, 0, width, height};
    FillRect(dc_, &all, marker);
    DeleteObject(marker);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  // Rows from the first to the last one holding colour; 0 when none does.
  int RowsWith(COLORREF colour) const {
    int first = -1, last = -1;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (At(x, y) == colour) {
          if (first < 0) first = y;
          last = y;
        }
    return first < 0 ? 0 : last - first + 1;
  }
  int Count(COLORREF colour) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += At(x, y) == colour;
    return n;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

void Draw(const Canvas& canvas, int id, RECT item, bool pressed) {
  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_BUTTON;
  draw.CtlID = UINT(id);
  draw.itemAction = ODA_DRAWENTIRE;
  draw.itemState = pressed ? ODS_SELECTED : 0;
  draw.hDC = canvas.Dc();
  draw.rcItem = item;
  OnDrawItem(WPARAM(id), &draw);
}
}  // namespace

TEST(DrawItem, EachCommandButtonFillsItsFaceDrawsItsCaptionAndARaisedEdge) {
  const struct { int id; COLORREF text, face; } buttons[] = {
      {ButtonNewFile, RGB(255, 0, 0), RGB(255, 255, 0)},     {ButtonOpenFile, RGB(255, 255, 255), RGB(0, 255, 0)},
      {ButtonSaveAs, RGB(255, 255, 255), RGB(0, 255, 0)},    {ButtonQuickRun, RGB(255, 255, 255), RGB(255, 0, 0)},
      {ButtonCompile, RGB(255, 255, 255), RGB(255, 0, 0)},   {ButtonExit, RGB(255, 255, 0), RGB(0, 0, 255)},
      {ButtonVersion, RGB(255, 255, 255), RGB(0, 255, 0)},   {ButtonFinder, RGB(255, 255, 0), RGB(0, 0, 255)},
      {ButtonReplace, RGB(255, 255, 0), RGB(0, 0, 255)},     {ButtonSaveFile, RGB(255, 255, 255), RGB(0, 255, 0)},
      {ButtonUndo, RGB(255, 0, 0), RGB(0, 255, 0)}};
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.id);
    Canvas canvas(100, 27);
    Draw(canvas, b.id, {0, 0, 100, 27}, false);
    EXPECT_EQ(canvas.Count(Marker), 0);  // the whole item is drawn
    EXPECT_EQ(canvas.At(3, 3), b.face);
    EXPECT_EQ(canvas.At(96, 23), b.face);
    EXPECT_GT(canvas.Count(b.text), 10);  // the caption
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(canvas.At(99, 26), GetSysColor(COLOR_3DDKSHADOW));
  }
}

TEST(DrawItem, APressedButtonHasASunkenEdgeOnTheSameFace) {
  Canvas canvas(100, 27);
  Draw(canvas, ButtonQuickRun, {0, 0, 100, 27}, true);
  EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.At(99, 26), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(canvas.At(3, 3), RGB(255, 0, 0));
}

TEST(DrawItem, ACaptionWiderThanItsButtonIsClippedAndTheFaceStillFilled) {
  Canvas canvas(40, 27);
  Draw(canvas, ButtonCompile, {0, 0, 16, 27}, false);
  int caption = 0;
  for (int y = 0; y < 27; ++y) {
    for (int x = 0; x < 40; ++x) {
      if (x >= 16) {
        ASSERT_EQ(canvas.At(x, y), Marker) << x << "," << y;  // nothing beyond the button
        continue;
      }
      EXPECT_NE(canvas.At(x, y), Marker) << x << "," << y;
      if (x >= 2 && x < 14 && y >= 2 && y < 25) caption += canvas.At(x, y) != RGB(255, 0, 0);
    }
  }
  for (POINT corner : {POINT{2, 2}, POINT{13, 2}, POINT{2, 24}, POINT{13, 24}})
    EXPECT_EQ(canvas.At(corner.x, corner.y), RGB(255, 0, 0));
  EXPECT_GT(caption, 0);  // the middle of "Compile File" shows
}

TEST(DrawItem, EmptyItemsAndOtherControlsDrawNothing) {
  const struct { int id; RECT item; } cases[] = {
      {ButtonNewFile, {0, 0, 0, 27}},   // squeezed to no width by a narrow window
      {ButtonNewFile, {10, 0, 4, 27}},  // negative width
      {ButtonUndo, {0, 5, 60, 5}},      // no height
      {3000, {0, 0, 60, 27}},           // not a command button
      {256, {0, 0, 60, 27}}};
  for (const auto& c : cases) {
    Canvas canvas(60, 27);
    Draw(canvas, c.id, c.item, true);
    EXPECT_EQ(canvas.Count(Marker), 60 * 27) << c.id << " " << c.item.left << ".." << c.item.right;
  }
}

TEST(DrawItem, AtEveryScaleEachCaptionIsWrittenLargerInTheScaledFontAndFitsItsButton) {
  const int buttonIds[11] = {ButtonNewFile, ButtonOpenFile, ButtonSaveAs, ButtonQuickRun, ButtonCompile, ButtonExit,
                             ButtonVersion, ButtonFinder,   ButtonReplace, ButtonSaveFile, ButtonUndo};
  int inkAt96[11] = {};
  for (int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    WindowScale = DisplayScale{dpi};
    MakeScaledFonts();
    EXPECT_EQ(FaceFont() == nullptr, dpi == 96);  // at 96 dpi the device context's own font
    // A client area of 1296 x 656 pixels at 96 dpi, as a window of about 1300 x 700 has, grown by the scale.
    const LayoutPlan plan = ComputeLayout(WindowScale(1296), WindowScale(656), false, false, WindowScale);
    for (int i = 0; i < 11; ++i) {
      const ButtonFace* face = FaceOfButton(buttonIds[i]);
      const Rect& button = plan.buttons[i];
      Canvas canvas(button.width, button.height);
      Draw(canvas, buttonIds[i], {0, 0, button.width, button.height}, false);
      const int ink = canvas.RowsWith(face->text);
      if (dpi == 96) inkAt96[i] = ink;
      EXPECT_GE(ink * 96, inkAt96[i] * dpi * 8 / 10) << face->caption;  // grown with the scale
      // Inside the raised edge, which takes two pixels on each side.
      HGDIOBJ previous = FaceFont() ? SelectObject(canvas.Dc(), FaceFont()) : nullptr;
      SIZE text = {};
      GetTextExtentPoint32A(canvas.Dc(), face->caption, int(std::strlen(face->caption)), &text);
      if (FaceFont()) SelectObject(canvas.Dc(), previous);
      EXPECT_LE(text.cx, button.width - 4) << face->caption;
      EXPECT_LE(text.cy, button.height - 4) << face->caption;
    }
  }
  WindowScale = {};
  ReleaseScaledParts();
}
