// The application's message loop, with the dialog manager's keyboard
// handling (Tab, Enter, Escape) for the main window.
#pragma once

#include <windows.h>

// Runs until the quit request; returns its exit code.
int RunMessageLoop(HWND mainWindow);
