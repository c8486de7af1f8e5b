// Case folding of the ASCII letters only: the installer's name and path tests
// treat accented letters as different characters in any case.
#pragma once

#include <string>
#include <string_view>

std::wstring AsciiUpper(std::wstring_view text);
std::wstring AsciiLower(std::wstring_view text);
