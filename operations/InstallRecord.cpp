#include "InstallRecord.h"

#include "AsciiCase.h"
#include "DeletionGuard.h"

#include <Utf8.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <stdexcept>

namespace {

constexpr std::string_view kVersionLine = "Ketrova-instalacao 1";

void Field(std::string& text, std::string_view name, std::wstring_view value) {
    text.append(name).append("=").append(WideToUtf8(value)).append("\n");
}

std::wstring Checked(std::wstring value) {
    if (!IsConfinedName(value)) throw std::runtime_error("A name in the installation record leaves its folder");
    return value;
}

std::size_t Depth(const std::wstring& name) { return static_cast<std::size_t>(std::ranges::count(name, L'\\')); }

}  // namespace

std::string FormatInstallRecord(const InstallRecord& record) {
    std::string text(kVersionLine);
    text += "\n";
    Field(text, "key", record.keyName);
    Field(text, "scope", record.allUsers ? L"machine" : L"user");
    Field(text, "name", record.displayName);
    Field(text, "exe", record.exeName);
    for (const auto& file : record.files) Field(text, "file", file);
    for (const auto& folder : record.folders) Field(text, "folder", folder);
    for (const auto& link : record.shortcuts) Field(text, "shortcut", link);
    for (const auto& parent : record.createdParents) Field(text, "parent", parent);
    return text;
}

InstallRecord ParseInstallRecord(std::string_view text) {
    const auto lineEnd = text.find('\n');
    if (text.substr(0, lineEnd) != kVersionLine) throw std::runtime_error("Not an installation record");
    InstallRecord record;
    bool scoped = false;
    for (std::size_t at = lineEnd; at != std::string_view::npos && at + 1 < text.size();) {
        const std::size_t start = at + 1;
        at = text.find('\n', start);
        const std::string_view line = text.substr(start, at == std::string_view::npos ? at : at - start);
        if (line.empty()) continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            throw std::runtime_error("A line of the installation record has no value");
        }
        const std::string_view name = line.substr(0, equals);
        std::wstring value = Utf8ToWide(line.substr(equals + 1));
        if (name == "key") record.keyName = std::move(value);
        else if (name == "scope") scoped = true, record.allUsers = value == L"machine";
        else if (name == "name") record.displayName = std::move(value);
        else if (name == "exe") record.exeName = Checked(std::move(value));
        else if (name == "file") record.files.push_back(Checked(std::move(value)));
        else if (name == "folder") record.folders.push_back(Checked(std::move(value)));
        else if (name == "shortcut") record.shortcuts.push_back(std::move(value));
        else if (name == "parent") record.createdParents.push_back(std::move(value));
        // Fields of a later version are not this uninstaller's business.
    }
    if (record.keyName.empty() || record.keyName.find(L'\\') != std::wstring::npos || !scoped ||
        record.exeName.find(L'\\') != std::wstring::npos) {
        throw std::runtime_error("The installation record names no uninstall entry");
    }
    // Without it the uninstaller would look for the folder itself as the program.
    if (record.exeName.empty()) throw std::runtime_error("The installation record names no program");
    return record;
}

bool IsConfinedName(std::wstring_view name) {
    if (name.empty() || name.find(L':') != std::wstring_view::npos || name.find(L'/') != std::wstring_view::npos) {
        return false;
    }
    for (std::size_t start = 0;;) {
        const std::size_t end = name.find(L'\\', start);
        const std::wstring_view part = name.substr(start, end == std::wstring_view::npos ? end : end - start);
        if (part.empty() || part == L"." || part == L"..") return false;
        if (end == std::wstring_view::npos) return true;
        start = end + 1;
    }
}

std::vector<std::wstring> FoldersOf(const std::vector<std::wstring>& files, const std::vector<std::wstring>& folders) {
    std::set<std::wstring> keys;
    std::vector<std::wstring> result;
    auto add = [&](std::wstring folder) {
        while (!folder.empty() && keys.insert(FolderKey(folder)).second) {
            result.push_back(folder);
            const auto separator = folder.rfind(L'\\');
            folder.resize(separator == std::wstring::npos ? 0 : separator);
        }
    };
    for (const auto& folder : folders) add(folder);
    for (const auto& file : files) {
        const auto separator = file.rfind(L'\\');
        if (separator != std::wstring::npos) add(file.substr(0, separator));
    }
    std::ranges::stable_sort(result, [](const auto& a, const auto& b) { return Depth(a) > Depth(b); });
    return result;
}

std::wstring UninstallKeyName(std::wstring_view productName, std::wstring_view folder) {
    // FNV-1a over the comparison form's UTF-16 units, the same on every build;
    // upper case, as earlier releases hashed it, so that an upgrade finds its entry.
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : AsciiUpper(FolderKey(folder))) {
        for (const unsigned unit : {static_cast<unsigned>(c) & 0xFFu, (static_cast<unsigned>(c) >> 8) & 0xFFu}) {
            hash = (hash ^ unit) * 1099511628211ull;
        }
    }
    std::wstring key(productName);
    std::ranges::replace(key, L'\\', L'_');
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return key + L"_" + std::wstring(hex, hex + 16);
}

std::wstring UninstallDisplayName(std::wstring_view name, std::wstring_view year, std::wstring_view release) {
    return std::wstring(name) + L" " + std::wstring(year) + L" r" + std::wstring(release);
}

std::wstring EntryDisplayName(std::wstring_view displayName, std::wstring_view folder,
                              const std::vector<std::wstring>& proposedFolders) {
    for (const auto& proposed : proposedFolders) {
        if (FolderKey(folder) == FolderKey(proposed)) return std::wstring(displayName);
    }
    std::wstring shown(folder);
    // A root keeps its separator: "C:\".
    while (shown.size() > 3 && (shown.back() == L'\\' || shown.back() == L'/')) shown.pop_back();
    return std::wstring(displayName) + L" (" + shown + L")";
}

std::wstring UninstallDisplayVersion(std::wstring_view year, std::wstring_view release) {
    return std::wstring(year) + L"." + std::wstring(release);
}

std::uint32_t EstimatedSizeKiB(std::uint64_t bytes) {
    return static_cast<std::uint32_t>(std::min<std::uint64_t>((bytes + 1023) / 1024, 0xFFFFFFFFu));
}
