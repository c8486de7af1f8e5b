#include "unitFolders.h"

#include "Handles.h"
#include "LongPathRules.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>

namespace {

std::optional<std::wstring> FindStoredName(const std::wstring& path) {
    // FindFirstFileW has no attribute mask: every kind of entry is found.
    WIN32_FIND_DATAW data{};
    const win::UniqueFind search(::FindFirstFileW(path.c_str(), &data));
    if (!search) return std::nullopt;
    return std::wstring(data.cFileName);
}

}  // namespace

std::wstring GetSpecialFolder(int csidl) {
    wchar_t buffer[MAX_PATH + 1] = {};
    // A failed lookup leaves the buffer empty, which is the answer then.
    ::SHGetFolderPathW(nullptr, csidl, nullptr, 0, buffer);
    const std::wstring_view all(buffer, MAX_PATH + 1);
    return std::wstring(all.substr(0, all.find(L'\0')));
}

std::wstring ResolveLastComponent(const std::wstring& path) {
    return ResolveLastComponentWith(path, FindStoredName);
}

std::wstring GetLongPath(const std::wstring& path) {
    return GetLongPathWith(path, FindStoredName);
}

bool IsOneDriveFolder(const std::wstring& path) { return ContainsOneDrive(GetLongPath(path)); }
