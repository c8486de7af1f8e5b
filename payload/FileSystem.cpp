#include "FileSystem.h"

namespace native {

void CreateDirectories(const std::wstring& path) {
    std::wstring folder = path;
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    // Most entries share their folder with the one before: one look, no creation.
    if (folder.empty() || DirectoryExists(folder)) return;
    if (const auto slash = folder.find_last_of(L"\\/"); slash != std::wstring::npos) {
        CreateDirectories(folder.substr(0, slash));
    }
    MakeDirectory(folder);
}

}  // namespace native
