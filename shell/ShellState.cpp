// Definitions of the shell's process-wide state.
#include "shell/ShellState.h"

namespace {
uint32_t GuiStateRecord[GuiStateSlots];
}
uint32_t* GuiState = GuiStateRecord;
int WorkAreaLeft = 0;
int WorkAreaTop = 0;
int WorkAreaWidth = 0;
int WorkAreaHeight = 0;
HBITMAP ToolbarPictures[10] = {};

HWND CommandButtons[11] = {};
HWND ToolbarButtons[10] = {};

std::string StartArgument;
std::string StartDirectory;
int RestorePos = 0;
int LayoutQuarter = 0;
int ClientHeight = 0;
int WindowWidth = 800;
int WindowHeight = 600;
std::string EditorFontName = "Lucida Console";
int EditorFontSize = 12;
