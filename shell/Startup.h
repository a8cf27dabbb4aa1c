// Start-up and shut-down of the program, and the exported record.
#pragma once
#include <cstdint>

// Exported by name: the address of the GuiState record. Calling it has no other effect.
extern "C" __declspec(dllexport) uint32_t* guistate();

// Runs the whole start-up sequence, the main window and the release of the libraries,
// then ends the process.
[[noreturn]] void RunStartup();
