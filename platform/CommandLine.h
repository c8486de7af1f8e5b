// The installer's own reading of the process command line: arguments are split
// the way its original runtime did, not by the C runtime's rules, so that a
// quoted folder keeps the backslash in front of its closing quote. After the
// split, the switches that deployment tools pass are read.
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

// "/" or "-", then a letter or "?", with no "\" or "/" after the first
// character up to the first "=": such an argument is never a folder.
bool IsSwitch(std::wstring_view argument);

// What a command line asks for.
struct Invocation {
    enum class Road {
        Interactive,  // no argument: the window
        Unattended,   // a folder first, or switches only
        Usage,        // /? or /help
        Refused,      // not understood: nothing may change
    };
    Road road = Road::Interactive;
    // The folder as given (first argument or /dir); empty: the proposed one.
    std::wstring folder;
    bool quiet = false;
    bool noRun = false;
    bool log = false;
    // The log's file as given; empty with log: a file of its own in the temporary folder.
    std::wstring logFile;
    // Refused: the argument that was not understood, and why.
    std::wstring refusal;
};

// The installer: a first argument that is not a switch is the folder, and later
// arguments that are not switches are ignored, as they always were; known
// switches are /quiet, /norun, /log[=FILE], /dir=FOLDER, /? and /help, in any
// letter case and with "-" for "/".
Invocation ReadInstallerCommandLine(const std::vector<std::wstring>& arguments);

// The uninstaller takes /quiet, /log[=FILE], /? and /help; it has no folder.
Invocation ReadUninstallerCommandLine(const std::vector<std::wstring>& arguments);
