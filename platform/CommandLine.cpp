#include "CommandLine.h"

#include <algorithm>
#include <optional>

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

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

std::wstring AsciiLowerName(std::wstring_view text) {
    std::wstring lower(text);
    std::ranges::transform(lower, lower.begin(), [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + 32 : c; });
    return lower;
}

enum class Value { None, Optional, Required };

struct SwitchRule {
    const wchar_t* name;
    Value value;
};

struct Reading {
    Invocation invocation;
    // The value each switch was given first, to refuse a different second one.
    std::vector<std::pair<std::wstring, std::wstring>> seen;
    bool dir = false;

    void Refuse(const std::wstring& argument, const wchar_t* why) {
        if (invocation.road == Invocation::Road::Refused) return;
        invocation.road = Invocation::Road::Refused;
        invocation.refusal = argument + L": " + why;
    }
};

void ReadSwitch(Reading& reading, const std::wstring& argument, const std::vector<SwitchRule>& rules) {
    const std::size_t equals = argument.find(L'=');
    const std::wstring name = AsciiLowerName(std::wstring_view(argument).substr(1, equals - 1));
    const std::optional<std::wstring> value =
        equals == std::wstring::npos ? std::nullopt : std::optional(argument.substr(equals + 1));
    const auto rule = std::ranges::find_if(rules, [&](const SwitchRule& r) { return name == r.name; });
    if (rule == rules.end()) return reading.Refuse(argument, L"unknown switch");
    if (rule->value == Value::None && value) return reading.Refuse(argument, L"takes no value");
    if (rule->value == Value::Required && (!value || value->empty())) return reading.Refuse(argument, L"needs a value");
    if (rule->value == Value::Optional && value && value->empty()) return reading.Refuse(argument, L"empty value");
    const std::wstring given = value.value_or(L"");
    const auto earlier = std::ranges::find_if(reading.seen, [&](const auto& s) { return s.first == name; });
    if (earlier != reading.seen.end()) {
        if (earlier->second != given) reading.Refuse(argument, L"given twice with different values");
        return;
    }
    reading.seen.emplace_back(name, given);
    Invocation& invocation = reading.invocation;
    if (name == L"quiet") invocation.quiet = true;
    if (name == L"norun") invocation.noRun = true;
    if (name == L"log") {
        invocation.log = true;
        invocation.logFile = given;
    }
    if (name == L"dir") {
        reading.dir = true;
        invocation.folder = given;
    }
}

Invocation Read(const std::vector<std::wstring>& arguments, const std::vector<SwitchRule>& rules, bool folderFirst) {
    Reading reading;
    if (arguments.empty()) return reading.invocation;
    reading.invocation.road = Invocation::Road::Unattended;
    const bool hasFolder = folderFirst && !IsSwitch(arguments.front());
    if (hasFolder) reading.invocation.folder = arguments.front();
    for (std::size_t i = hasFolder ? 1 : 0; i < arguments.size(); ++i) {
        if (IsSwitch(arguments[i])) {
            ReadSwitch(reading, arguments[i], rules);
        } else if (!folderFirst) {
            reading.Refuse(arguments[i], L"not a switch");
        }
    }
    if (hasFolder && reading.dir) reading.Refuse(L"/dir", L"a folder is given first already");
    const auto asked = [&](const wchar_t* name) {
        return std::ranges::any_of(reading.seen, [&](const auto& s) { return s.first == name; });
    };
    if (reading.invocation.road != Invocation::Road::Refused && (asked(L"?") || asked(L"help"))) {
        reading.invocation.road = Invocation::Road::Usage;
    }
    return reading.invocation;
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

bool IsSwitch(std::wstring_view argument) {
    if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) return false;
    if (!IsAsciiLetter(argument[1]) && argument[1] != L'?') return false;
    const std::wstring_view name = argument.substr(1, argument.find(L'=') - 1);
    return name.find_first_of(L"\\/") == std::wstring_view::npos;
}

Invocation ReadInstallerCommandLine(const std::vector<std::wstring>& arguments) {
    return Read(arguments,
                {{L"quiet", Value::None},
                 {L"norun", Value::None},
                 {L"log", Value::Optional},
                 {L"dir", Value::Required},
                 {L"?", Value::None},
                 {L"help", Value::None}},
                true);
}

Invocation ReadUninstallerCommandLine(const std::vector<std::wstring>& arguments) {
    return Read(arguments,
                {{L"quiet", Value::None}, {L"log", Value::Optional}, {L"?", Value::None}, {L"help", Value::None}},
                false);
}
