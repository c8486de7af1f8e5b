// The application's message loop, with the dialog manager's keyboard
// handling (Tab, Enter, Escape) for the main window.
#pragma once

#include <windows.h>

// Waits for one message and runs it; false, with its exit code, when it is
// the quit request.
bool PumpMessage(HWND mainWindow, int& exitCode);

// Runs until the quit request; returns its exit code.
int RunMessageLoop(HWND mainWindow);

// Between steps that run on the window's thread: answers what other threads
// and programs send and repaints what was uncovered. Input and posted
// requests wait, since nothing may start then.
void LetPaintingThrough();
