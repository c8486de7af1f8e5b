// The common controls (version 6, which the manifest binds side by side),
// reached at run time rather than through an import: a loader without that
// binding would look for an imported copy beside the program first.
#pragma once

#include <windows.h>

#include <commctrl.h>

// The standard classes registered; false where the library cannot be loaded.
bool InitializeCommonControls();

// The subclassing calls of the library. Subclassing throws an Exception when
// the library or the call fails.
void AttachSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
void DetachSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT CallSubclassBase(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
