// The uninstaller's road, from its own folder: the questions, the removal of
// what the installation recorded and the answer to the caller.
#pragma once

#include <string>
#include <vector>

// The arguments after the program's path; returns the exit code.
int RunUninstaller(const std::vector<std::wstring>& arguments);
