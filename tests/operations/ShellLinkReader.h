// Reads a shell link file back through the platform's own link object.
#pragma once

#include <string>

struct LinkFields {
    std::wstring path;
    std::wstring description;
    std::wstring workingDirectory;
    std::wstring arguments;
    bool loaded = false;
};

LinkFields ReadLink(const std::wstring& linkPath);
