#include "ShellLinkReader.h"

#include "Handles.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

LinkFields ReadLink(const std::wstring& linkPath) {
    LinkFields fields;
    win::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid()))) {
        return fields;
    }
    win::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid()))) return fields;
    if (FAILED(file->Load(linkPath.c_str(), STGM_READ))) return fields;
    fields.loaded = true;
    wchar_t text[INFOTIPSIZE] = {};
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    fields.path = text;
    text[0] = L'\0';
    link->GetDescription(text, INFOTIPSIZE);
    fields.description = text;
    text[0] = L'\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    fields.workingDirectory = text;
    text[0] = L'\0';
    link->GetArguments(text, INFOTIPSIZE);
    fields.arguments = text;
    return fields;
}
