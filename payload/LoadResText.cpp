#include "LoadResText.h"

#include <windows.h>

std::wstring LoadResText(int id) {
    wchar_t buffer[256]{};
    // The count returned is not needed: the text ends at the NUL the call writes.
    ::LoadStringW(::GetModuleHandleW(nullptr), static_cast<UINT>(id), buffer, 256);
    return buffer;
}
