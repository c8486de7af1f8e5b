// What the window knows of the product it installs: its string-table entries,
// by the numbers the resource script gives them, and its executable's fixed name.
#pragma once

inline constexpr int kProductNameEntry = 1;
inline constexpr int kVersionYearEntry = 2;
inline constexpr int kReleaseEntry = 3;
inline constexpr int kProductExeEntry = 8;
inline constexpr int kPublisherEntry = 9;
// The editions' switches ("Sim" turns one on).
inline constexpr int kPluginParcialEntry = 100;
inline constexpr int kPluginFullEntry = 101;

// Whatever entry 8 says, the running instances are found by this name, and the
// partial add-on accepts a folder that holds a file of this name.
inline constexpr wchar_t kInstanceExe[] = L"Ketrova.exe";
