// The installer's own reading of the process command line: arguments are split
// the way its original runtime did, not by the C runtime's rules, so that a
// quoted folder keeps the backslash in front of its closing quote.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Asks nothing and shows nothing; the exit code tells the outcome.
constexpr wchar_t QuietSwitch[] = L"/quiet";

// Every argument of the text, the program's own path first. Before each
// argument, characters 1 to 32 and pairs of adjacent double quotes are skipped;
// a double quote opens a run up to the next one, without escapes. The split
// ends at the first empty result.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The arguments after the program's path (ParamStr 1 to ParamCount).
std::vector<std::wstring> CommandLineArguments(std::wstring_view commandLine);
