// Starting the installed program through the shell, as from a shortcut.
#pragma once

#include <windows.h>

#include <string>

// Writes a temporary link beside the program, asks the shell to open it
// maximised, and deletes the link at once. Does not wait for the program.
// Raises EPlatformError when the link cannot be made.
void RunIndirect(const std::wstring& exePath, HWND owner = nullptr);
