#include "ExeNameMatch.h"

#include "AsciiCase.h"

bool MatchesExeName(std::wstring_view entryName, std::wstring_view name) {
    const std::wstring wanted = AsciiUpper(name);
    const auto separator = entryName.find_last_of(L"\\:");
    const std::wstring_view fileName =
        separator == std::wstring_view::npos ? entryName : entryName.substr(separator + 1);
    return AsciiUpper(fileName) == wanted || AsciiUpper(entryName) == wanted;
}
