#include "CommandLine.h"

namespace {

bool IsSeparator(wchar_t c) { return c >= 1 && c <= 32; }

// One argument from position onwards; empty at the end of the text.
std::wstring NextArgument(std::wstring_view text, std::size_t& position) {
    for (;;) {
        while (position < text.size() && IsSeparator(text[position])) ++position;
        if (position + 1 < text.size() && text[position] == L'"' && text[position + 1] == L'"') {
            position += 2;
        } else {
            break;
        }
    }
    std::wstring argument;
    while (position < text.size() && text[position] > 32) {
        if (text[position] == L'"') {
            ++position;
            while (position < text.size() && text[position] != L'"') argument += text[position++];
            if (position < text.size()) ++position;
        } else {
            argument += text[position++];
        }
    }
    return argument;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine) {
    std::vector<std::wstring> arguments;
    std::size_t position = 0;
    for (;;) {
        std::wstring argument = NextArgument(commandLine, position);
        if (argument.empty()) return arguments;
        arguments.push_back(std::move(argument));
    }
}

std::vector<std::wstring> CommandLineArguments(std::wstring_view commandLine) {
    std::vector<std::wstring> arguments = SplitCommandLine(commandLine);
    if (!arguments.empty()) arguments.erase(arguments.begin());
    return arguments;
}
