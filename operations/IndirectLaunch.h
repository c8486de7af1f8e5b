// The start request of RunIndirect, replaceable so that tests can see what it
// asks the shell for (the shell itself may start a link with the link's own
// show command).
#pragma once

#include <windows.h>

#include <string>

using ShellOpen = HINSTANCE(WINAPI*)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                     INT showCommand);

void RunIndirectWith(const std::wstring& exePath, HWND owner, ShellOpen open);
