// Every routine the program takes from the system and from the compiler library, bound by
// name at start-up. Code calls them as Api.Name(...); nothing calls those libraries directly.
#pragma once
#include <windows.h>
#include <string>

// The seven GDI+ flat routines the welcome dialog uses, declared with plain types so that
// no GDI+ header is needed.
using GdipStatus = int;
struct GdipStartupInput { UINT32 version; void* callback; BOOL suppressBackgroundThread; BOOL suppressExternalCodecs; };
using GdiplusStartupFn = GdipStatus(WINAPI*)(ULONG_PTR* token, const GdipStartupInput* input, void* output);
using GdiplusShutdownFn = void(WINAPI*)(ULONG_PTR token);
using GdipCreateFromHDCFn = GdipStatus(WINAPI*)(HDC dc, void** graphics);
using GdipLoadImageFromFileFn = GdipStatus(WINAPI*)(const WCHAR* file, void** image);
using GdipDrawImageRectIFn = GdipStatus(WINAPI*)(void* graphics, void* image, INT x, INT y, INT width, INT height);
using GdipDisposeImageFn = GdipStatus(WINAPI*)(void* image);
using GdipDeleteGraphicsFn = GdipStatus(WINAPI*)(void* graphics);
// The compiler library's two exports: one 32-bit argument each, results unused.
using ZorTrendFn = int(WINAPI*)(int);
using ZorBasisFn = int(WINAPI*)(const char*);
// The check of a source as the user types (source text, its file name, message buffer and its
// size; the error's line, 0 for none, -1 when it could not check). Older libraries lack it.
using ZorCheckFn = int(WINAPI*)(const char*, const char*, char*, int);
// Routines of the displays' own scales, which Windows has had since Windows 10 (1607): the dots
// per inch of a window's display and the system's metrics (fonts) at a given scale.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

// X(name) for routines declared by <windows.h>; T(name, type) for those typed above.
#define ZOR_KERNEL32(X) \
  X(AllocConsole) X(CancelIo) X(CloseHandle) X(ConnectNamedPipe) X(CreateEventA) X(CreateNamedPipeA) X(CreateFileA) X(CreateProcessA) X(CreateThread) X(DeleteFileA) X(ExitProcess) \
  X(FindClose) X(FindFirstFileA) X(FindNextFileA) X(FlushFileBuffers) X(FormatMessageA) X(FreeLibrary) X(FreeLibraryAndExitThread) X(GetCommandLineA) X(GetConsoleWindow) X(GetCurrentDirectoryA) \
  X(GetCurrentProcess) X(GetCurrentProcessId) X(GetCurrentThreadId) X(GetExitCodeProcess) X(GetFileAttributesA) X(GetFileAttributesExA) X(GetFileInformationByHandle) X(GetFileSizeEx) X(GetFileTime) X(GetFileType) \
  X(GetFinalPathNameByHandleA) X(GetFullPathNameA) X(GetLastError) X(GetOverlappedResult) \
  X(GetLocalTime) X(GetModuleFileNameA) X(GetModuleHandleA) X(GetStdHandle) X(GetTempFileNameA) X(GetTempPathA) X(GetTickCount) \
  X(LoadLibraryA) X(LocalFree) X(MoveFileExA) X(MultiByteToWideChar) X(QueueUserWorkItem) X(ReadFile) X(ResetEvent) X(ResumeThread) \
  X(SetConsoleCtrlHandler) X(SetConsoleTextAttribute) X(SetConsoleTitleA) X(SetCurrentDirectoryA) X(SetEvent) \
  X(SetEndOfFile) X(SetEnvironmentVariableA) X(SetFileAttributesA) X(SetFilePointerEx) \
  X(SetLastError) X(SetThreadPriority) X(Sleep) X(TerminateProcess) X(WaitForMultipleObjects) X(WaitForSingleObject) X(WideCharToMultiByte) X(WriteFile)

#define ZOR_USER32(X) \
  X(AppendMenuA) X(BeginPaint) X(CheckMenuItem) X(CreateDialogIndirectParamA) X(CreateMenu) \
  X(CreatePopupMenu) X(CreateWindowExA) X(DefWindowProcA) X(DeleteMenu) X(DestroyMenu) X(DestroyWindow) \
  X(DestroyIcon) X(DispatchMessageA) X(DrawEdge) X(DrawMenuBar) X(DrawTextA) X(EnableWindow) X(EndPaint) X(FillRect) \
  X(GetActiveWindow) X(GetClassNameA) X(GetClientRect) X(GetCursorPos) X(GetDC) X(GetDlgCtrlID) X(GetDlgItem) X(GetFocus) X(GetForegroundWindow) X(GetKeyboardState) X(GetKeyState) X(GetLastInputInfo) \
  X(GetMenu) X(GetMessageA) X(GetParent) X(GetSystemMenu) X(GetWindowLongA) X(GetWindowRect) \
  X(GetWindowTextA) X(GetWindowTextLengthA) X(GetWindowThreadProcessId) X(InvalidateRect) X(KillTimer) \
  X(IsChild) X(IsDialogMessageA) X(IsIconic) X(IsWindow) X(IsWindowEnabled) X(IsWindowVisible) X(LoadCursorA) X(LoadIconA) X(LoadImageA) X(MapVirtualKeyA) X(MessageBoxA) \
  X(MoveWindow) X(PeekMessageA) X(PostMessageA) X(PostQuitMessage) X(RegisterClassExA) X(ReleaseDC) X(ScreenToClient) \
  X(SendMessageA) X(SetActiveWindow) X(SetFocus) X(SetForegroundWindow) X(SetKeyboardState) X(SetLayeredWindowAttributes) X(SetMenu) X(SetTimer) X(SetWindowLongA) X(SetWindowPos) \
  X(SetWindowTextA) X(ShowWindow) X(SystemParametersInfoA) X(TranslateMessage) X(UpdateWindow)

#define ZOR_GDI32(X) \
  X(CreateFontA) X(CreateFontIndirectA) X(CreateSolidBrush) X(DeleteObject) X(ExtTextOutA) X(GetDeviceCaps) \
  X(GetObjectA) X(GetStockObject) X(GetTextExtentPoint32A) X(GetTextMetricsA) X(SelectObject) X(SetBkColor) \
  X(SetTextColor)

// Bound when user32 has them (Windows 10 and Wine); without them every window takes the
// system's one scale, which a device context of the screen reports.
#define ZOR_USER32_OPTIONAL(T) T(GetDpiForWindow, GetDpiForWindowFn) T(SystemParametersInfoForDpi, SystemParametersInfoForDpiFn)

#define ZOR_COMDLG32(X) X(CommDlgExtendedError) X(GetOpenFileNameA) X(GetSaveFileNameA)

#define ZOR_SHELL32(X) X(DragAcceptFiles) X(DragFinish) X(DragQueryFileA)

#define ZOR_ZORVEX(T) T(zor_trend, ZorTrendFn) T(zor_basis, ZorBasisFn)
// Bound when the library has them; a null slot turns the feature off.
#define ZOR_ZORVEX_OPTIONAL(T) T(zor_check, ZorCheckFn)

#define ZOR_GDIPLUS(T) \
  T(GdiplusStartup, GdiplusStartupFn) T(GdiplusShutdown, GdiplusShutdownFn) \
  T(GdipCreateFromHDC, GdipCreateFromHDCFn) T(GdipLoadImageFromFile, GdipLoadImageFromFileFn) \
  T(GdipDrawImageRectI, GdipDrawImageRectIFn) T(GdipDisposeImage, GdipDisposeImageFn) \
  T(GdipDeleteGraphics, GdipDeleteGraphicsFn)

#define ZOR_DECLARE_SYSTEM(name) decltype(&::name) name = nullptr;
#define ZOR_DECLARE_TYPED(name, type) type name = nullptr;

struct BoundApi {
  ZOR_KERNEL32(ZOR_DECLARE_SYSTEM)
  ZOR_USER32(ZOR_DECLARE_SYSTEM)
  ZOR_USER32_OPTIONAL(ZOR_DECLARE_TYPED)
  ZOR_GDI32(ZOR_DECLARE_SYSTEM)
  ZOR_COMDLG32(ZOR_DECLARE_SYSTEM)
  ZOR_SHELL32(ZOR_DECLARE_SYSTEM)
  ZOR_ZORVEX(ZOR_DECLARE_TYPED)
  ZOR_ZORVEX_OPTIONAL(ZOR_DECLARE_TYPED)
  ZOR_GDIPLUS(ZOR_DECLARE_TYPED)
};

// The bound routines; filled by BindLibraries, valid until FreeLibraries.
extern BoundApi Api;

// Loads the seven libraries in their fixed order and binds every routine. On failure the
// result names the library that did not load or the routine that is missing; empty on success.
// An optional routine the library lacks is no failure: its slot stays null.
std::string BindLibraries();

// Frees the bound libraries in the reverse order of loading.
void FreeLibraries();
