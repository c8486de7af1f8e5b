// Names of table cases for test output and CTest: "\" becomes "/", and
// everything beyond letters, digits and a few marks becomes %XX or %uXXXX.
#pragma once

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

inline std::string CaseText(std::wstring_view text) {
    if (text.empty()) return "(empty)";
    std::string result;
    for (wchar_t c : text) {
        const bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
                           std::wstring_view(L" .-_:~()*").find(c) != std::wstring_view::npos;
        if (plain) {
            result += static_cast<char>(c);
        } else if (c == L'\\') {
            result += '/';
        } else {
            char code[12];
            std::snprintf(code, sizeof code, c < 0x100 ? "%%%02X" : "%%u%04X", static_cast<unsigned>(c));
            result += code;
        }
    }
    return result;
}
