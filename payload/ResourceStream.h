// A resource of the running executable as a read-only stream over the mapped
// image: nothing is copied, and the bytes live as long as the module.
#pragma once

#include "MemoryStream.h"

#include <string>

class TResourceStream : public TReadOnlyMemoryStream {
public:
    // type: a resource type such as RT_RCDATA or a type name such as L"JPEG".
    // Fails with "Resource <name> not found".
    TResourceStream(const std::wstring& name, const wchar_t* type);

private:
    struct Bytes {
        const void* data;
        std::size_t size;
    };
    explicit TResourceStream(Bytes bytes) : TReadOnlyMemoryStream(bytes.data, bytes.size) {}
    static Bytes Locate(const std::wstring& name, const wchar_t* type);
};
