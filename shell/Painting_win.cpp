// MainWindow's painting and colour messages.
#include "shell/Painting_win.h"
#include "base/Bindings_win.h"
#include "shell/ButtonFaces.h"
#include "shell/Scaling_win.h"
#include "shell/ShellState.h"
#include <cstring>

namespace {
constexpr COLORREF WindowColour = RGB(125, 168, 190);
constexpr COLORREF BoxColour = RGB(128, 200, 200);
constexpr COLORREF BoxTextColour = RGB(255, 0, 0);
constexpr COLORREF LineTextColour = RGB(255, 0, 0);
constexpr COLORREF LineBackColour = RGB(255, 255, 0);
const char* const PaintedLine = "testFile for coloring text and background";

// A solid brush deleted by the code that made it, when it goes out of scope or is reset.
class SolidBrush {
 public:
  SolidBrush() = default;
  explicit SolidBrush(COLORREF colour) : brush_(Api.CreateSolidBrush(colour)) {}
  SolidBrush(const SolidBrush&) = delete;
  SolidBrush& operator=(const SolidBrush&) = delete;
  ~SolidBrush() { Reset(); }
  HBRUSH Get() const { return brush_; }
  void Reset() {
    // After the libraries are freed there is nothing left to delete through.
    if (brush_ && Api.DeleteObject) Api.DeleteObject(brush_);
    brush_ = nullptr;
  }
  void Make(COLORREF colour) {
    Reset();
    brush_ = Api.CreateSolidBrush(colour);
  }

 private:
  HBRUSH brush_ = nullptr;
};

SolidBrush BoxBrush;  // behind the finder boxes' text; made at the first WM_CTLCOLOREDIT

// The face font selected into a device context for one scope; away from 96 dpi the captions and
// the painted line are written in it, at 96 dpi in the font the device context starts with.
class FaceFontScope {
 public:
  explicit FaceFontScope(HDC dc) : dc_(dc), font_(FaceFont()) {
    if (font_) previous_ = Api.SelectObject(dc_, font_);
  }
  FaceFontScope(const FaceFontScope&) = delete;
  FaceFontScope& operator=(const FaceFontScope&) = delete;
  ~FaceFontScope() {
    if (font_) Api.SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_ = nullptr;
};

// BeginPaint and EndPaint as one scope.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { dc_ = Api.BeginPaint(window, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { Api.EndPaint(window_, &paint_); }
  HDC Dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_ = nullptr;
};
}  // namespace

void OnDrawItem(WPARAM id, const DRAWITEMSTRUCT* item) {
  const ButtonFace* face = FaceOfButton(int(LOWORD(id)));
  if (!face || !item) return;
  RECT r = item->rcItem;
  // A button squeezed to nothing by a narrow window shows nothing, not a stray edge.
  if (r.right <= r.left || r.bottom <= r.top) return;
  HDC dc = item->hDC;
  FaceFontScope captionFont(dc);
  const int length = int(std::strlen(face->caption));
  SIZE text = {};
  Api.GetTextExtentPoint32A(dc, face->caption, length, &text);
  Api.SetTextColor(dc, face->text);
  Api.SetBkColor(dc, face->background);
  CaptionOrigin at = CentreCaption(r.right - r.left, r.bottom - r.top, text.cx, text.cy);
  Api.ExtTextOutA(dc, at.x, at.y, ETO_OPAQUE | ETO_CLIPPED, &r, face->caption, UINT(length), nullptr);
  Api.DrawEdge(dc, &r, (item->itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

LRESULT OnEraseBackground(HWND window, HDC dc) {
  RECT client;
  Api.GetClientRect(window, &client);
  SolidBrush brush(WindowColour);
  Api.FillRect(dc, &client, brush.Get());
  return 1;
}

void OnPaint(HWND window) {
  RECT client;
  Api.GetClientRect(window, &client);
  PaintScope paint(window);
  FaceFontScope lineFont(paint.Dc());
  Api.SetBkColor(paint.Dc(), LineBackColour);
  Api.SetTextColor(paint.Dc(), LineTextColour);
  Api.DrawTextA(paint.Dc(), PaintedLine, -1, &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

LRESULT OnCtlColorEdit(HDC dc) {
  Api.SetBkColor(dc, BoxColour);
  Api.SetTextColor(dc, BoxTextColour);
  if (!BoxBrush.Get()) BoxBrush.Make(BoxColour);
  return reinterpret_cast<LRESULT>(BoxBrush.Get());
}

void OnMouseMove(WPARAM wParam) {
  GuiState[12] = LOWORD(wParam);
  GuiState[14] = HIWORD(wParam);
}

void ReleasePaintBrushes() { BoxBrush.Reset(); }
