// The welcome dialog, its picture and its message loop.
#include "auxwin/Welcome_win.h"
#include "base/Bindings_win.h"
#include "base/Handles_win.h"
#include "base/Scaling_win.h"

namespace {
const char* const WelcomeCaption = "Zorvex Basic says welcome to Zor";
const char* const WelcomePicture = "2001-A-Space-Odyssey-1.jpg";  // looked up in the current directory
constexpr DialogRect WelcomeBox = {0, 0, 220, 190};                  // the dialog, in dialog units
constexpr DialogRect CloseBox = {CentredControl, 165, 30, 12};       // its Close button
constexpr uint32_t WelcomeStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE | DS_CENTER;  // 0x10CF0800
constexpr BYTE FinalAlpha = 200;  // of 255: the desktop shows a little through the picture
constexpr int AlphaStep = 10;
// A quarter second spread over the 20 steps: 12.5 ms, rounded to the even neighbour.
constexpr DWORD StepDelay = 12;

void Say(const std::string& text) { Api.MessageBoxA(nullptr, text.c_str(), "zor", MB_OK); }

// The header, warning about a caption that looks like a number; false when it does not fit.
bool BeginOrWarn(DialogTemplate& dialog, const std::string& caption) {
  if (CaptionLooksNumeric(caption)) Say("Warning: title in Dialog probably not a string");
  if (BeginDialogTemplate(dialog, WelcomeBox.x, WelcomeBox.y, WelcomeBox.width, WelcomeBox.height, caption,
                          WelcomeStyle, 0, "", 0, WidenAnsi))
    return true;
  Say("Dialog template too large: the dialog \"" + caption + "\" cannot be built");
  return false;
}

void AddButtonOrReport(DialogTemplate& dialog, const std::string& text, int id, int x, int y, int width, int height) {
  if (!AddDefaultButton(dialog, text, id, x, y, width, height, 0, 0, 0))
    Say("Dialog template full: the control \"" + text + "\" is left out");
}

// The welcome picture, decoded once when the dialog starts (and again for a display of another
// scale) and freed when it ends; null when the file is missing or cannot be decoded.
void* Picture = nullptr;
GdiObject<HFONT> ButtonFont;  // the Close button's caption away from 96 dpi

// The picture drawn at the scale nearest to the display's.
void LoadWelcomePicture(int dpi) {
  int percent = 100;
  const std::u16string name = WidenAnsi(PictureFileFor(WelcomePicture, dpi, percent));
  FreePicture(Picture);
  Picture = LoadPicture(std::wstring(name.begin(), name.end()));
}

// The base units of the dialog's font, the System font, as it is at 96 dpi.
DialogBaseUnits BaseUnitsAt96(HWND dialog) {
  static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  GdiObject<HFONT> font(MakeSystemFont({}));
  HDC dc = Api.GetDC(dialog);
  HGDIOBJ previous = Api.SelectObject(dc, font.Get());
  SIZE letters = {};
  Api.GetTextExtentPoint32A(dc, Letters, int(sizeof Letters - 1), &letters);
  TEXTMETRICA metrics = {};
  Api.GetTextMetricsA(dc, &metrics);
  Api.SelectObject(dc, previous);
  Api.ReleaseDC(dialog, dc);
  return BaseUnitsOf(letters.cx, metrics.tmHeight);
}

DialogRect Scaled(DialogRect r, DisplayScale scale) { return {scale(r.x), scale(r.y), scale(r.width), scale(r.height)}; }

// The dialog is written in dialog units of the System font, which not every system grows in
// step with the display (Wine makes it taller but not wider). So at a display's scale it takes
// the size it has at 96 dpi grown by that scale, centred on around, and its Close button the
// place, the size and the caption font that go with it.
void FitToScale(HWND dialog, DisplayScale scale, const RECT& around) {
  const DialogBaseUnits base = BaseUnitsAt96(dialog);
  const DialogRect client = Scaled(DialogUnitsToPixels(WelcomeBox, base), scale);
  RECT outer = {}, inner = {};
  Api.GetWindowRect(dialog, &outer);
  Api.GetClientRect(dialog, &inner);
  const int width = client.width + (outer.right - outer.left) - inner.right;
  const int height = client.height + (outer.bottom - outer.top) - inner.bottom;
  Api.SetWindowPos(dialog, nullptr, (around.left + around.right - width) / 2, (around.top + around.bottom - height) / 2,
                   width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  DialogRect button = CloseBox;
  button.x = CentredX(WelcomeBox.width, CloseBox.width);
  button = Scaled(DialogUnitsToPixels(button, base), scale);
  HWND close = Api.GetDlgItem(dialog, IDCANCEL);
  Api.MoveWindow(close, button.x, button.y, button.width, button.height, TRUE);
  HFONT font = MakeSystemFont(scale);
  Api.SendMessageA(close, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ButtonFont.Reset(font);  // the button has the new font: the old one may go
}

void SetAlpha(HWND dialog, BYTE alpha) { Api.SetLayeredWindowAttributes(dialog, 0, alpha, LWA_ALPHA); }

// Shows the dialog fully transparent and raises its opacity in steps. Runs inside
// WM_INITDIALOG, so nothing else is handled meanwhile.
void FadeIn(HWND dialog) {
  Api.SetWindowLongA(dialog, GWL_EXSTYLE, Api.GetWindowLongA(dialog, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetAlpha(dialog, 0);
  Api.ShowWindow(dialog, SW_SHOW);
  for (int alpha = 0; alpha < FinalAlpha; alpha += AlphaStep) {
    SetAlpha(dialog, BYTE(alpha));
    Api.Sleep(StepDelay);
  }
  SetAlpha(dialog, FinalAlpha);
}

// The picture over the whole client area, drawn into the device context the system hands over
// for the background. The dialog clips its children, so the Close button is never drawn over
// and paints itself afterwards: nothing is invalidated here, and a dialog that nothing covers
// or uncovers is not painted again.
void PaintPicture(HWND dialog, HDC dc) {
  RECT client;
  Api.GetClientRect(dialog, &client);
  DrawPicture(dc, Picture, client);
}

void OnInitDialog(HWND dialog) {
  Api.SetWindowLongA(dialog, GWL_STYLE, Api.GetWindowLongA(dialog, GWL_STYLE) | WS_CLIPCHILDREN);
  const int dpi = DpiOfWindow(dialog);
  // At 96 dpi the dialog stays as its template makes it.
  if (dpi != BaseDpi) {
    RECT place = {};
    Api.GetWindowRect(dialog, &place);
    FitToScale(dialog, ScaleOfDpi(dpi), place);
  }
  LoadWelcomePicture(dpi);
  FadeIn(dialog);
}

// Moved to a display of another scale: the suggested place, the size and the picture for it.
void OnDpiChanged(HWND dialog, int dpi, const RECT* suggested) {
  RECT place = {};
  if (suggested) place = *suggested;
  else Api.GetWindowRect(dialog, &place);
  FitToScale(dialog, ScaleOfDpi(dpi), place);
  LoadWelcomePicture(dpi);
  Api.InvalidateRect(dialog, nullptr, TRUE);
}

// A GDI+ object (graphics or image), disposed of by the given routine when the scope ends.
template <typename Dispose>
class GdipObject {
 public:
  explicit GdipObject(Dispose dispose) : dispose_(dispose) {}
  GdipObject(const GdipObject&) = delete;
  GdipObject& operator=(const GdipObject&) = delete;
  ~GdipObject() {
    if (object_) dispose_(object_);
  }
  void** Out() { return &object_; }
  void* Get() const { return object_; }

 private:
  Dispose dispose_;
  void* object_ = nullptr;
};
}  // namespace

std::u16string WidenAnsi(const std::string& text) {
  if (text.empty()) return {};
  int length = Api.MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
  if (length > 0) Api.MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), int(text.size()), wide.data(), length);
  return std::u16string(wide.begin(), wide.end());
}

HWND CreateModelessFromTemplate(HWND owner, DLGPROC procedure, LPARAM value, DialogTemplate& dialog) {
  HWND window = nullptr;
  if (!dialog.bytes.empty())
    window = Api.CreateDialogIndirectParamA(Api.GetModuleHandleA(nullptr),
                                            reinterpret_cast<LPCDLGTEMPLATEA>(dialog.bytes.data()), owner,
                                            procedure, value);
  if (!window) {
    Say("Cannot create modeless Dialog. Stop!");
    // Without its dialog the program cannot go on; a failure must not look like a normal end.
    Api.ExitProcess(ExitDialogFailed);
  }
  dialog = DialogTemplate{};
  return window;
}

void* LoadPicture(const std::wstring& file) {
  void* picture = nullptr;
  if (Api.GdipLoadImageFromFile(file.c_str(), &picture) != 0) return nullptr;
  return picture;
}

void FreePicture(void* picture) {
  if (picture) Api.GdipDisposeImage(picture);
}

void DrawPicture(HDC dc, void* picture, const RECT& rect) {
  GdipObject graphics(Api.GdipDeleteGraphics);
  if (!dc || !picture || Api.GdipCreateFromHDC(dc, graphics.Out()) != 0) return;
  Api.GdipDrawImageRectI(graphics.Get(), picture, 0, 0, rect.right, rect.bottom);
}

INT_PTR CALLBACK WelcomeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  // No C++ exception may cross into the system's dialog manager.
  try {
    switch (message) {
      case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;  // the system sets the default focus
      case WM_DPICHANGED: OnDpiChanged(dialog, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam)); return TRUE;
      case WM_ERASEBKGND: PaintPicture(dialog, reinterpret_cast<HDC>(wParam)); return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) != IDCANCEL) return FALSE;
        Api.DestroyWindow(dialog);
        return TRUE;
      case WM_CLOSE: Api.DestroyWindow(dialog); return TRUE;
      case WM_DESTROY:
        FreePicture(Picture);
        Picture = nullptr;
        ButtonFont.Reset();
        Api.PostQuitMessage(0);
        return TRUE;
      default: return FALSE;
    }
  } catch (...) {
  }
  return FALSE;
}

bool BuildWelcomeTemplate(DialogTemplate& dialog) {
  if (!BeginOrWarn(dialog, WelcomeCaption)) return false;
  AddButtonOrReport(dialog, "Close", IDCANCEL, CloseBox.x, CloseBox.y, CloseBox.width, CloseBox.height);
  return true;
}

void RunDialogLoop(HWND dialog) {
  MSG msg;
  while (Api.GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (Api.IsDialogMessageA(dialog, &msg)) continue;
    Api.TranslateMessage(&msg);
    Api.DispatchMessageA(&msg);
  }
}

void RunWelcomeDialog() {
  DialogTemplate dialog;
  BuildWelcomeTemplate(dialog);
  RunDialogLoop(CreateModelessFromTemplate(nullptr, WelcomeDialogProc, 0, dialog));
}
