// Names of the shell link files that point at a program.
#pragma once

#include <string>
#include <string_view>

// The target's file name with its extension (from the last ".") replaced by
// ".lnk"; a name without one gets ".lnk" appended.
std::wstring LinkFileName(std::wstring_view targetPath);
