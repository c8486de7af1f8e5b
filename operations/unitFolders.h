// Shell folders, long path names and the OneDrive refusal.
#pragma once

#include <string>

// The path of a shell folder named by its CSIDL number, without a trailing
// separator; empty when the platform has none.
std::wstring GetSpecialFolder(int csidl);

// The path with every existing component in its long name as stored on disk;
// components that do not exist stay as typed.
std::wstring GetLongPath(const std::wstring& path);

// The last component in its stored long name; a trailing "\" stays.
std::wstring ResolveLastComponent(const std::wstring& path);

// Whether the folder lies in OneDrive.
bool IsOneDriveFolder(const std::wstring& path);
