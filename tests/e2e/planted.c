// A stand-in for a system DLL, planted beside the installer: if anything loads
// it, it leaves "<its path>.loaded" behind and refuses to load.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        lstrcatW(path, L".loaded");
        const HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        // Plain C, without the owners: the marker only has to exist.
        if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    }
    return FALSE;
}
