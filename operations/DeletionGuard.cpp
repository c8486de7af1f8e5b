#include "DeletionGuard.h"

#include "LongPathRules.h"

#include <ZipPaths.h>

std::wstring FolderKey(std::wstring_view path) {
    std::wstring key;
    for (wchar_t c : zip::FoldedPath(std::wstring(path))) {
        if (c == L'/') c = L'\\';
        if (c == L'\\' && key.size() > 1 && key.back() == L'\\') continue;
        key += c;
    }
    while (!key.empty() && key.back() == L'\\') key.pop_back();
    return key;
}

bool IsProtectedFolder(std::wstring_view folder, const std::vector<std::wstring>& shellFolders) {
    const std::wstring key = FolderKey(folder);
    if (key.size() <= DrivePart(key).size()) return true;
    for (const std::wstring& shellFolder : shellFolders) {
        if (shellFolder.empty()) continue;
        const std::wstring shellKey = FolderKey(shellFolder);
        if (shellKey == key || shellKey.starts_with(key + L'\\')) return true;
    }
    return false;
}
