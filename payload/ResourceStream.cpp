#include "ResourceStream.h"

#include <Exception.h>

#include <windows.h>

// Resources of a loaded module need no release.
TResourceStream::Bytes TResourceStream::Locate(const std::wstring& name, const wchar_t* type) {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC info = ::FindResourceW(module, name.c_str(), type);
    const HGLOBAL loaded = info != nullptr ? ::LoadResource(module, info) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) throw Exception(L"Resource " + name + L" not found");
    return {data, ::SizeofResource(module, info)};
}

TResourceStream::TResourceStream(const std::wstring& name, const wchar_t* type)
    : TResourceStream(Locate(name, type)) {}
