// Definitions of the state that several floors share.
#include "base/SharedState.h"

std::string AboutText;

HWND MainWindow = nullptr;
HWND Editor = nullptr;
HWND CurrentEditor = nullptr;
HWND FinderBoxes[7] = {};
HWND LastFocused = nullptr;
HWND ListingPanel = nullptr;
HWND StatusBar = nullptr;
DisplayScale WindowScale;
bool KeyRepeats = false;

std::string ProgramDir;
std::string WorkDir;
int ProjectOpen = 0;
int OutputShown = 0;
int ListingShown = 0;
int PendingAction = 0;

int ToolbarIds[10] = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109};
int OutputKind = 0;
std::string ProjectCommands[100];

std::string CurrentFile;
std::string SaveName;
std::string ProjectFile;
std::string ProjectText;
