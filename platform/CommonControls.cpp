#include "CommonControls.h"

#include "Exception.h"

namespace {

struct CommonControlsApi {
    decltype(&::InitCommonControlsEx) initialize = nullptr;
    decltype(&::SetWindowSubclass) subclass = nullptr;
    decltype(&::RemoveWindowSubclass) removeSubclass = nullptr;
    decltype(&::DefSubclassProc) callBase = nullptr;

    bool Complete() const { return initialize && subclass && removeSubclass && callBase; }
};

template <typename Function>
void Resolve(HMODULE library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

// The library stays loaded for the life of the process, as if it were imported.
const CommonControlsApi& Api() {
    static const CommonControlsApi api = [] {
        CommonControlsApi loaded;
        // The activation context's version 6 where the manifest asks for it,
        // else the system folder's: never a planted copy.
        if (HMODULE library = ::LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            Resolve(library, "InitCommonControlsEx", loaded.initialize);
            Resolve(library, "SetWindowSubclass", loaded.subclass);
            Resolve(library, "RemoveWindowSubclass", loaded.removeSubclass);
            Resolve(library, "DefSubclassProc", loaded.callBase);
        }
        return loaded.Complete() ? loaded : CommonControlsApi{};
    }();
    return api;
}

}  // namespace

bool InitializeCommonControls() {
    if (!Api().Complete()) return false;
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES};
    return Api().initialize(&classes) != FALSE;
}

void AttachSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    if (!Api().Complete() || !Api().subclass(window, procedure, id, data))
        throw Exception(L"The common controls library could not subclass a window.");
}

void DetachSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    if (Api().Complete()) Api().removeSubclass(window, procedure, id);
}

LRESULT CallSubclassBase(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Reached only through a subclass, which the library is loaded for.
    return Api().callBase(window, message, wParam, lParam);
}
