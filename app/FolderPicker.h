// The platform's folder picker: the common item dialog in folder-picking mode.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The chosen folder's file-system path, or nothing when the user cancels.
// Raises Exception when the dialog cannot be created or shown.
std::optional<std::wstring> PickFolder(HWND owner);
