#include "AsciiCase.h"

std::wstring AsciiUpper(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& c : result) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return result;
}

std::wstring AsciiLower(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& c : result) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return result;
}
