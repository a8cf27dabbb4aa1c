// Display scales of windows and the fonts and pictures that go with them.
#include "base/Scaling_win.h"
#include "base/Bindings_win.h"

namespace {
constexpr int SystemFontHeight = 16;  // the System font at 96 dpi
constexpr int SystemFontWidth = 7;

// A face name of the system's metrics in the ANSI code page, as CreateFontIndirectA wants it.
void NarrowFaceName(const WCHAR* wide, char* narrow, int size) {
  if (Api.WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, size, nullptr, nullptr) == 0) narrow[0] = '\0';
}
}  // namespace

int SystemDpi() {
  HDC screen = Api.GetDC(nullptr);
  const int dpi = screen ? Api.GetDeviceCaps(screen, LOGPIXELSY) : BaseDpi;
  if (screen) Api.ReleaseDC(nullptr, screen);
  return ScaleOfDpi(dpi).dpi;
}

int DpiOfWindow(HWND window) {
  const int dpi = Api.GetDpiForWindow && window ? int(Api.GetDpiForWindow(window)) : 0;
  return dpi > 0 ? ScaleOfDpi(dpi).dpi : SystemDpi();
}

HFONT MakeSystemFont(DisplayScale scale) {
  LOGFONTA font = {};
  Api.GetObjectA(Api.GetStockObject(SYSTEM_FONT), sizeof font, &font);
  font.lfHeight = scale(SystemFontHeight);
  font.lfWidth = scale(SystemFontWidth);
  return Api.CreateFontIndirectA(&font);
}

HFONT MakeStatusFont(int dpi) {
  if (!Api.SystemParametersInfoForDpi) return nullptr;
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (!Api.SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, UINT(dpi))) return nullptr;
  const LOGFONTW& wide = metrics.lfStatusFont;
  LOGFONTA font = {};
  font.lfHeight = wide.lfHeight;
  font.lfWidth = wide.lfWidth;
  font.lfEscapement = wide.lfEscapement;
  font.lfOrientation = wide.lfOrientation;
  font.lfWeight = wide.lfWeight;
  font.lfItalic = wide.lfItalic;
  font.lfUnderline = wide.lfUnderline;
  font.lfStrikeOut = wide.lfStrikeOut;
  font.lfCharSet = wide.lfCharSet;
  font.lfOutPrecision = wide.lfOutPrecision;
  font.lfClipPrecision = wide.lfClipPrecision;
  font.lfQuality = wide.lfQuality;
  font.lfPitchAndFamily = wide.lfPitchAndFamily;
  NarrowFaceName(wide.lfFaceName, font.lfFaceName, LF_FACESIZE);
  return Api.CreateFontIndirectA(&font);
}

std::string PictureFileFor(const std::string& file, int dpi, int& percent) {
  percent = NearestPictureScale(dpi);
  if (percent != 100) {
    std::string scaled = PictureFileAt(file, percent);
    if (Api.GetFileAttributesA(scaled.c_str()) != INVALID_FILE_ATTRIBUTES) return scaled;
  }
  percent = 100;
  return file;
}
