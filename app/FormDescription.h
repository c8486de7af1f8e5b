// The main window's form description: its eight designed controls with the
// values the designer gave them, in the description's order. Creating the
// windowed ones in this order gives the tab order Button1, edPath, Button2,
// btExplorer; the details toggle comes first, before Install.
#pragma once

#include "ControlDescription.h"

#include <array>

// Install and Cancelar carry the dialog identifiers, so that the dialog
// manager's Enter and Escape reach them.
inline constexpr int kEdPathId = 101;
inline constexpr int kBtExplorerId = 102;
// The window that takes the details toggle's focus and keys.
inline constexpr int kSpButtonKeysId = 103;

enum FormControl { spButtonIndex, lblTextoPluginIndex, lblKetrovaVersionIndex, lblAddinVersionIndex,
                   Button1Index, edPathIndex, Button2Index, btExplorerIndex, FormControlCount };

extern const std::array<ControlDescription, FormControlCount> kFormDescription;

inline constexpr int kFormWidth = 800;
inline constexpr int kFormHeight = 450;
inline constexpr const wchar_t* kFormCaption = L"Instalador do Ketrova";
inline constexpr FontDescription kFormFont{L"Tahoma", 11, false, 0, DEFAULT_CHARSET};
