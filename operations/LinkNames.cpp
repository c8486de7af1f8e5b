#include "LinkNames.h"

#include "LongPathRules.h"

std::wstring LinkFileName(std::wstring_view targetPath) {
    std::wstring_view fileName = targetPath.substr(FolderPart(targetPath).size());
    const auto dot = fileName.rfind(L'.');
    if (dot != std::wstring_view::npos) fileName = fileName.substr(0, dot);
    return std::wstring(fileName) + L".lnk";
}
