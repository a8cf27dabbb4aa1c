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

// The welcome picture, decoded once when the dialog starts and freed when it ends; null when
// the file is missing or cannot be decoded.
void* Picture = nullptr;

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
  FreePicture(Picture);
  Picture = LoadPicture(WelcomePicture);
  FadeIn(dialog);
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

INT_PTR CALLBACK WelcomeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  // No C++ exception may cross into the system's dialog manager.
  try {
    switch (message) {
      case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;  // the system sets the default focus
      case WM_ERASEBKGND: PaintPicture(dialog, reinterpret_cast<HDC>(wParam)); return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) != IDCANCEL) return FALSE;
        Api.DestroyWindow(dialog);
        return TRUE;
      case WM_CLOSE: Api.DestroyWindow(dialog); return TRUE;
      case WM_DESTROY:
        FreePicture(Picture);
        Picture = nullptr;
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
  AddButtonOrReport(dialog, "Close", IDCANCEL, CentredControl, 165, 30, 12);
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
