#include "FolderPicker.h"

#include "Handles.h"
#include "PlatformError.h"

#include <shobjidl.h>

namespace {

void Check(HRESULT result) {
    if (FAILED(result)) throw EPlatformError(SystemMessage(static_cast<unsigned long>(result)));
}

}  // namespace

std::optional<std::wstring> PickFolder(HWND owner) {
    win::ComPtr<IFileOpenDialog> dialog;
    Check(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                             dialog.putVoid()));
    FILEOPENDIALOGOPTIONS options = 0;
    Check(dialog->GetOptions(&options));
    Check(dialog->SetOptions(options | FOS_PICKFOLDERS));
    const HRESULT shown = dialog->Show(owner);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return std::nullopt;
    Check(shown);
    win::ComPtr<IShellItem> item;
    Check(dialog->GetResult(item.put()));
    win::UniqueCoTaskMem<wchar_t> path;
    Check(item->GetDisplayName(SIGDN_FILESYSPATH, path.put()));
    return std::wstring(path.get());
}
