// The running executable's full path.
#pragma once

#include <string>

std::wstring ProgramPath();
