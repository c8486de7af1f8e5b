#include "clThemeCheckBoxSize.h"

#include <windows.h>

namespace {

using HTheme = HANDLE;
using OpenThemeDataFn = HTheme(WINAPI*)(HWND, LPCWSTR);
using GetThemePartSizeFn = HRESULT(WINAPI*)(HTheme, HDC, int, int, const RECT*, int, SIZE*);
using CloseThemeDataFn = HRESULT(WINAPI*)(HTheme);

constexpr int kPartCheckBox = 3;        // BP_CHECKBOX
constexpr int kStateUncheckedNormal = 1;  // CBS_UNCHECKEDNORMAL
constexpr int kSizeDraw = 2;            // TS_DRAW

struct ThemeApi {
    OpenThemeDataFn open = nullptr;
    GetThemePartSizeFn partSize = nullptr;
    CloseThemeDataFn close = nullptr;
};

// The library stays loaded for the life of the process, as if it were imported;
// only the theme itself is opened and closed on every query.
const ThemeApi& LoadThemeApi() {
    static const ThemeApi api = [] {
        ThemeApi loaded;
        // From the system folder only: never a planted copy beside the installer.
        if (HMODULE library = ::LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            loaded.open = reinterpret_cast<OpenThemeDataFn>(
                reinterpret_cast<void*>(::GetProcAddress(library, "OpenThemeData")));
            loaded.partSize = reinterpret_cast<GetThemePartSizeFn>(
                reinterpret_cast<void*>(::GetProcAddress(library, "GetThemePartSize")));
            loaded.close = reinterpret_cast<CloseThemeDataFn>(
                reinterpret_cast<void*>(::GetProcAddress(library, "CloseThemeData")));
        }
        return loaded;
    }();
    return api;
}

class ScopedTheme {
public:
    ScopedTheme(const ThemeApi& api, HWND window) : api_(api), theme_(api.open(window, L"BUTTON")) {}
    ScopedTheme(const ScopedTheme&) = delete;
    ScopedTheme& operator=(const ScopedTheme&) = delete;
    ~ScopedTheme() {
        if (theme_) api_.close(theme_);
    }
    HTheme get() const { return theme_; }

private:
    const ThemeApi& api_;
    HTheme theme_;
};

}  // namespace

std::optional<TThemePartSize> QueryThemeCheckBoxSize(void* window) {
    const ThemeApi& api = LoadThemeApi();
    if (!api.open || !api.partSize || !api.close) return std::nullopt;
    const ScopedTheme theme(api, static_cast<HWND>(window));
    if (!theme.get()) return std::nullopt;
    SIZE size{};
    if (FAILED(api.partSize(theme.get(), nullptr, kPartCheckBox, kStateUncheckedNormal, nullptr, kSizeDraw, &size)))
        return std::nullopt;
    return TThemePartSize{size.cx, size.cy};
}
