// The welcome dialog, its picture and its message loop (declared in Welcome_win.h).
#include "auxwin/Welcome_win.h"
#include "base/Bindings_win.h"

namespace {
const char* const WelcomeCaption = "Zorvex Basic says welcome to Zor";
const wchar_t* const WelcomePicture = L"2001-A-Space-Odyssey-1.jpg";  // looked up in the current directory
constexpr uint32_t WelcomeStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE | DS_CENTER;  // 0x10CF0800
constexpr BYTE FinalAlpha = 200;  // of 255: the desktop shows a little through the picture
constexpr int AlphaStep = 10;
// A quarter second spread over the 20 steps: 12.5 ms, rounded to the even neighbour.
constexpr DWORD StepDelay = 12;

void Say(const std::string& text) { Api.MessageBoxA(nullptr, text.c_str(), "zor", MB_OK); }

// The header, warning about a caption that looks like a number; false when it does not fit.
bool BeginOrWarn(DialogTemplate& dialog, const std::string& caption) {
  if (CaptionLooksNumeric(caption)) Say("Warning: title in Dialog probably not a string");
  if (BeginDialogTemplate(dialog, 0, 0, 220, 190, caption, WelcomeStyle, 0, "", 0, WidenAnsi)) return true;
  Say("Dialog template too large: the dialog \"" + caption + "\" cannot be built");
  return false;
}

void AddButtonOrReport(DialogTemplate& dialog, const std::string& text, int id, int x, int y, int width, int height) {
  if (!AddDefaultButton(dialog, text, id, x, y, width, height, 0, 0, 0))
    Say("Dialog template full: the control \"" + text + "\" is left out");
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

// The picture as the whole background; the button is then painted again over it.
void PaintPicture(HWND dialog) {
  RECT client;
  Api.GetClientRect(dialog, &client);
  DrawImageFile(dialog, client, WelcomePicture);
  Api.InvalidateRect(dialog, &client, FALSE);
}

// The window's device context, released when the scope ends.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(Api.GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) Api.ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

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

void DrawImageFile(HWND window, const RECT& rect, const std::wstring& file) {
  WindowDc dc(window);
  GdipObject graphics(Api.GdipDeleteGraphics);
  if (!dc.Get() || Api.GdipCreateFromHDC(dc.Get(), graphics.Out()) != 0) return;
  GdipObject image(Api.GdipDisposeImage);
  if (Api.GdipLoadImageFromFile(file.c_str(), image.Out()) != 0 || !image.Get()) return;
  Api.GdipDrawImageRectI(graphics.Get(), image.Get(), 0, 0, rect.right, rect.bottom);
}

INT_PTR CALLBACK WelcomeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  // No C++ exception may cross into the system's dialog manager.
  try {
    switch (message) {
      case WM_INITDIALOG: FadeIn(dialog); return TRUE;  // the system sets the default focus
      case WM_ERASEBKGND: PaintPicture(dialog); return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) != IDCANCEL) return FALSE;
        Api.DestroyWindow(dialog);
        return TRUE;
      case WM_CLOSE: Api.DestroyWindow(dialog); return TRUE;
      case WM_DESTROY: Api.PostQuitMessage(0); return TRUE;
      default: return FALSE;
    }
  } catch (...) {
  }
  return FALSE;
}

bool BuildWelcomeTemplate(DialogTemplate& dialog) {
  if (!BeginOrWarn(dialog, WelcomeCaption)) return false;
  AddButtonOrReport(dialog, "Close", IDCANCEL, CentredControl, 165, 30, 12);
  return true;
}

void RunWelcomeDialog() {
  DialogTemplate dialog;
  BuildWelcomeTemplate(dialog);
  HWND window = CreateModelessFromTemplate(nullptr, WelcomeDialogProc, 0, dialog);
  MSG msg;
  while (Api.GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (Api.IsDialogMessageA(window, &msg)) continue;
    Api.TranslateMessage(&msg);
    Api.DispatchMessageA(&msg);
  }
}
