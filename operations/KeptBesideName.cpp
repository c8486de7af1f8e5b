#include "KeptBesideName.h"

std::wstring KeptBesideName(std::wstring_view name, bool isFolder, int attempt) {
    const auto separator = name.rfind(L'\\');
    const std::size_t last = separator == std::wstring_view::npos ? 0 : separator + 1;
    auto dot = isFolder ? std::wstring_view::npos : name.rfind(L'.');
    // A leading dot starts a name, not an extension.
    if (dot != std::wstring_view::npos && dot <= last) dot = std::wstring_view::npos;
    const std::size_t stemEnd = dot == std::wstring_view::npos ? name.size() : dot;
    std::wstring kept(name.substr(0, stemEnd));
    kept += attempt > 1 ? L" (do usuário " + std::to_wstring(attempt) + L")" : std::wstring(L" (do usuário)");
    kept += name.substr(stemEnd);
    return kept;
}
