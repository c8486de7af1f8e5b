#include "FolderRules.h"

bool IsEditionSwitchOn(std::wstring_view entry) { return entry == L"Sim"; }

std::wstring MakeSpecificFolder(std::wstring_view name, std::wstring_view year, std::wstring_view release) {
    std::wstring folder = L"\\";
    folder.append(name).append(L"\\v").append(year).append(L"r").append(release).append(L"\\");
    return folder;
}

std::wstring RoamingToLocal(std::wstring path) {
    constexpr std::wstring_view roaming = L"Roaming";
    const auto at = path.find(roaming);
    if (at != std::wstring::npos) path.replace(at, roaming.size(), L"Local");
    return path;
}

std::wstring ProposedFolder(bool allUsers, std::wstring_view programFiles, std::wstring_view roamingAppData,
                            std::wstring_view specificFolder) {
    if (allUsers) return std::wstring(programFiles).append(specificFolder);
    return RoamingToLocal(std::wstring(roamingAppData).append(specificFolder));
}
