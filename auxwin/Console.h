// The program's own text console: greeting, short messages, and the window in which every
// started program runs.
#pragma once
#include <string>

// Opens the console, titles it "ZorvexBasic" and keeps it from ending the IDE: its close
// command is removed and Ctrl+C / Ctrl+Break typed there are ignored by this process.
void OpenConsole();

// The banner and the prompt; waits for one line of input and answers it.
void RunGreeting(const std::string& banner);

// Writes exactly the bytes of text to the console; nothing is added.
void ConsoleWrite(const std::string& text);

// One read of at most 4094 bytes from the console, line end included; empty on failure.
std::string ConsoleRead();
