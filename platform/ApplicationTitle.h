// The caption of every message box: the executable's file name without its
// folder, cut before its first ".", the first character as stored and the rest
// in lower case (SETUP.EXE gives Setup).
#pragma once

#include <string>
#include <string_view>

std::wstring ApplicationTitleFromPath(std::wstring_view modulePath);
