// The steps of MainWindow's procedure that belong to the shell: creation, layout and closing.
#pragma once
#include <windows.h>
#include <string>

// WM_CREATE: command line, settings, working directory, every child control, the editor.
void OnCreate(HWND window);
// WM_SIZE: records the outer size and places every child control from the client size.
void OnSize();
// WM_CLOSE: asks about the document, writes the settings file and ends the message loop;
// a cancelled prompt keeps the window open and the settings file unwritten.
void OnClose();
// WM_QUERYENDSESSION: what closing does before the window goes (the project list, the save
// prompt, the settings file); TRUE lets the session end, FALSE (Cancel) refuses it.
LRESULT OnQueryEndSession();
// WM_ENDSESSION: when the session does end, the window goes as at closing; otherwise the IDE
// goes on. An end that the IDE refused keeps unsaved text in a copy beside the document (the
// program folder for an untitled one), which the next start names.
void OnEndSession(bool ending);
// At start-up: the console line that names the copy a forced end of the last session left.
void ReportEmergencyCopy();
// WM_DESTROY: releases the fonts and posts the quit message.
void OnDestroy();
// WM_SETFOCUS: MainWindow itself takes no typing, so the focus goes on to the control that had
// it last (the editor at first), as after a message box or a file dialog.
void OnSetFocus();
// WM_ACTIVATEAPP: when the IDE becomes the active program again (otherThread: the thread of the
// window that was active before), the document's file is looked at for changes made by other
// programs meanwhile, once the activation is done.
void OnActivateApp(bool active, unsigned long otherThread);
// OutsideCheckMessage, which activation posts to MainWindow for that look.
void OnOutsideCheck();
// WM_NOTIFY: passes each event of the editor to the operation that owns it.
void OnNotify(const NMHDR* header);
// Notes the editor or box that has just received the focus, from its notification message.
void RememberFocus(WPARAM wParam, LPARAM lParam);

// A quarter of the window's client width, its client height, and the mouse pointer in client
// coordinates.
void PointerInClient(HWND window, int& quarter, int& height, int& x, int& y);
// The current directory, however long.
std::string CurrentDirectory();
