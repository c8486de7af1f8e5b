#include "ApplicationTitle.h"

#include <cwctype>

std::wstring ApplicationTitleFromPath(std::wstring_view modulePath) {
    const auto slash = modulePath.find_last_of(L"\\/:");
    std::wstring_view name = slash == std::wstring_view::npos ? modulePath : modulePath.substr(slash + 1);
    name = name.substr(0, name.find(L'.'));
    std::wstring title(name);
    for (std::size_t i = 1; i < title.size(); ++i) {
        title[i] = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(title[i])));
    }
    return title;
}
