#include "PlatformError.h"

#include "Handles.h"

#include <windows.h>

#include <cwchar>

std::wstring SystemMessage(unsigned long code) {
    win::UniqueLocal<wchar_t> buffer;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    std::wstring text(buffer ? buffer.get() : L"", length);
    while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
    if (text.empty()) {
        wchar_t hex[16];
        std::swprintf(hex, 16, L"0x%08lX", code);
        text = hex;
    }
    return text;
}
