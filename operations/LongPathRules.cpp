#include "LongPathRules.h"

#include "AsciiCase.h"

namespace {

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

}  // namespace

std::wstring_view DrivePart(std::wstring_view path) {
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == L':') return path.substr(0, 2);
    if (path.starts_with(L"\\\\")) {
        const auto serverEnd = path.find(L'\\', 2);
        if (serverEnd == std::wstring_view::npos) return path;
        return path.substr(0, path.find(L'\\', serverEnd + 1));
    }
    return {};
}

std::wstring_view FolderPart(std::wstring_view path) {
    const auto separator = path.find_last_of(L"\\:");
    return separator == std::wstring_view::npos ? std::wstring_view{} : path.substr(0, separator + 1);
}

std::wstring ResolveLastComponentWith(const std::wstring& path, const EntrySearch& search) {
    std::wstring_view component = path;
    const bool trailingSeparator = component.ends_with(L'\\');
    if (trailingSeparator) component.remove_suffix(1);
    if (component.size() <= DrivePart(component).size()) return path;

    const std::optional<std::wstring> stored = search(std::wstring(component));
    if (!stored) return path;
    std::wstring result(FolderPart(component));
    result += *stored;
    if (trailingSeparator) result += L'\\';
    return result;
}

std::wstring GetLongPathWith(const std::wstring& path, const EntrySearch& search) {
    std::wstring resolved;
    std::wstring_view rest = path;
    for (auto separator = rest.find(L'\\'); separator != std::wstring_view::npos; separator = rest.find(L'\\')) {
        resolved = ResolveLastComponentWith(resolved + std::wstring(rest.substr(0, separator + 1)), search);
        rest.remove_prefix(separator + 1);
    }
    if (!rest.empty()) resolved = ResolveLastComponentWith(resolved + std::wstring(rest), search);
    return resolved;
}

bool ContainsOneDrive(std::wstring_view path) {
    return AsciiLower(path).find(L"onedrive") != std::wstring::npos;
}
