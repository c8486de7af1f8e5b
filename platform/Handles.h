// Move-only owners of Win32 handles, GDI objects, registry keys, system-made
// memory and COM pointers: each wrapper knows its close function and its own
// "no value", so release is structural.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace win {

template <typename T, T NoValue, auto Close>
class Unique {
public:
    Unique() noexcept = default;
    explicit Unique(T value) noexcept : value_(value) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~Unique() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != NoValue; }
    T release() noexcept { return std::exchange(value_, NoValue); }
    void reset(T value = NoValue) noexcept {
        T old = std::exchange(value_, value);
        if (old != NoValue) Close(old);
    }
    // For out-parameters (RegOpenKeyExW, FormatMessageW's buffer): what was held goes first.
    T* put() noexcept {
        reset();
        return &value_;
    }

private:
    T value_ = NoValue;
};

namespace detail {
inline void closeHandle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void findClose(HANDLE h) noexcept { ::FindClose(h); }
template <typename T>
void deleteGdiObject(T o) noexcept { ::DeleteObject(o); }
inline void destroyIcon(HICON i) noexcept { ::DestroyIcon(i); }
inline void destroyWindow(HWND w) noexcept { ::DestroyWindow(w); }
inline void freeLibrary(HMODULE m) noexcept { ::FreeLibrary(m); }
inline void deleteDc(HDC dc) noexcept { ::DeleteDC(dc); }
inline void freeSid(PSID sid) noexcept { ::FreeSid(sid); }
inline void regCloseKey(HKEY key) noexcept { ::RegCloseKey(key); }
template <typename T>
void localFree(T* memory) noexcept { ::LocalFree(memory); }
template <typename T>
void coTaskMemFree(T* memory) noexcept { ::CoTaskMemFree(memory); }
}  // namespace detail

// OpenProcess and most kernel objects fail with NULL...
using UniqueHandle = Unique<HANDLE, nullptr, detail::closeHandle>;
// ...while CreateFileW and CreateToolhelp32Snapshot fail with INVALID_HANDLE_VALUE.
class UniqueFile {
public:
    UniqueFile() noexcept = default;
    explicit UniqueFile(HANDLE h) noexcept : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    HANDLE get() const noexcept { return h_.get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(h_); }
    void reset() noexcept { h_.reset(); }
    // nullptr when it holds none.
    HANDLE release() noexcept { return h_.release(); }

private:
    UniqueHandle h_;
};
class UniqueFind {
public:
    UniqueFind() noexcept = default;
    explicit UniqueFind(HANDLE h) noexcept : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    explicit operator bool() const noexcept { return static_cast<bool>(h_); }
    HANDLE get() const noexcept { return h_.get(); }
    // nullptr when it holds none.
    HANDLE release() noexcept { return h_.release(); }

private:
    Unique<HANDLE, nullptr, detail::findClose> h_;
};

// Both handles that CreateProcessW gives, each closed on its own.
struct UniqueProcessInformation {
    UniqueProcessInformation() noexcept = default;
    explicit UniqueProcessInformation(const PROCESS_INFORMATION& info) noexcept
        : process(info.hProcess), thread(info.hThread) {}
    UniqueHandle process;
    UniqueHandle thread;
};

template <typename T>
using UniqueGdi = Unique<T, nullptr, detail::deleteGdiObject<T>>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueRegion = UniqueGdi<HRGN>;
using UniqueIcon = Unique<HICON, nullptr, detail::destroyIcon>;
using UniqueWindow = Unique<HWND, nullptr, detail::destroyWindow>;
using UniqueLibrary = Unique<HMODULE, nullptr, detail::freeLibrary>;
using UniqueMemoryDc = Unique<HDC, nullptr, detail::deleteDc>;
// A security identifier from AllocateAndInitializeSid (advapi32).
using UniqueSid = Unique<PSID, nullptr, detail::freeSid>;
// An open registry key (advapi32); the predefined roots are never put in one.
using UniqueRegKey = Unique<HKEY, nullptr, detail::regCloseKey>;
// Memory that the system allocated for the caller: LocalAlloc's (FormatMessageW)
// and the COM task allocator's (shell and dialog texts, ole32).
template <typename T>
using UniqueLocal = Unique<T*, nullptr, detail::localFree<T>>;
template <typename T>
using UniqueCoTaskMem = Unique<T*, nullptr, detail::coTaskMemFree<T>>;

// Selects an object into a device context and puts the previous one back, so
// that nothing is deleted while still selected (declare it after the object).
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() { ::SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) noexcept : window_(window) { dc_ = ::BeginPaint(window, &ps_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    ~ScopedPaint() { ::EndPaint(window_, &ps_); }
    HDC dc() const noexcept { return dc_; }
    const PAINTSTRUCT& info() const noexcept { return ps_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// GetDC/ReleaseDC.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    ~ScopedWindowDc() { ::ReleaseDC(window_, dc_); }
    HDC dc() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An owned COM interface pointer.
template <typename I>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { reset(); }

    I* get() const noexcept { return p_; }
    I* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For out-parameters of CoCreateInstance and QueryInterface.
    I** put() noexcept {
        reset();
        return &p_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    // The reference goes to the caller.
    I* release() noexcept { return std::exchange(p_, nullptr); }

private:
    I* p_ = nullptr;
};

}  // namespace win
