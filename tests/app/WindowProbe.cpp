#include "WindowProbe.h"

#include "Handles.h"

#include <cstdio>
#include <cstdlib>

namespace probe {

void Pump(int rounds) {
    for (int round = 0; round < rounds; ++round) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Put back for TakeQuitRequest.
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::GdiFlush();
        ::Sleep(20);
    }
}

RECT ChildRect(HWND child) {
    RECT bounds{};
    ::GetWindowRect(child, &bounds);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

bool HasStyle(HWND window, LONG style) { return (::GetWindowLongW(window, GWL_STYLE) & style) == style; }

FontInfo ControlFont(HWND control) {
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW info{};
    if (!font || !::GetObjectW(font, sizeof info, &info)) return {};
    return {info.lfFaceName, info.lfHeight, info.lfCharSet};
}

std::vector<HWND> Children(HWND form) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(form, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

namespace {

Capture ReadPixels(HDC source, int left, int top, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const win::UniqueBitmap target(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const win::UniqueMemoryDc dc(::CreateCompatibleDC(source));
    {
        const win::ScopedSelect select(dc.get(), target.get());
        ::BitBlt(dc.get(), 0, 0, width, height, source, left, top, SRCCOPY);
        ::GdiFlush();
    }
    Capture capture{width, height, std::vector<COLORREF>(static_cast<std::size_t>(width) * height)};
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (std::size_t i = 0; i < capture.pixels.size(); ++i) {
        const DWORD bgra = pixels[i];  // 0x00RRGGBB in memory order B, G, R
        capture.pixels[i] = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    return capture;
}

}  // namespace

Capture CaptureScreen(const TForm2& form) {
    ::RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    POINT origin{0, 0};
    ::ClientToScreen(form.Handle(), &origin);
    RECT client{};
    ::GetClientRect(form.Handle(), &client);
    const win::ScopedWindowDc screen(nullptr);
    return ReadPixels(screen.dc(), origin.x, origin.y, client.right, client.bottom);
}

Capture StretchReference(HBITMAP bitmap, int width, int height) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    const win::ScopedWindowDc screen(nullptr);
    const win::UniqueMemoryDc target(::CreateCompatibleDC(screen.dc()));
    const win::UniqueBitmap surface(::CreateCompatibleBitmap(screen.dc(), width, height));
    const win::UniqueMemoryDc source(::CreateCompatibleDC(screen.dc()));
    const win::ScopedSelect selectSurface(target.get(), surface.get());
    const win::ScopedSelect selectSource(source.get(), bitmap);
    ::SetStretchBltMode(target.get(), COLORONCOLOR);
    ::StretchBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    return ReadPixels(target.get(), 0, 0, width, height);
}

void SaveBmp(const Capture& capture, const std::wstring& path) {
    const int stride = (capture.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = capture.width;
    info.biHeight = capture.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * capture.height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<BYTE> rows(info.biSizeImage);
    for (int y = 0; y < capture.height; ++y) {
        BYTE* row = rows.data() + static_cast<std::size_t>(capture.height - 1 - y) * stride;
        for (int x = 0; x < capture.width; ++x) {
            const COLORREF c = capture.At(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out) return;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(rows.data(), 1, rows.size(), out);
    std::fclose(out);
}

void SaveScreenshot(const Capture& capture, const wchar_t* name) {
    const wchar_t* folder = _wgetenv(L"KETROVA_SCREENSHOTS");
    if (!folder || !*folder) return;
    SaveBmp(capture, std::wstring(folder) + L"\\" + name + L".bmp");
}

void Click(const TForm2& form, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    ::SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(form.Handle(), WM_LBUTTONUP, 0, at);
    Pump(1);
}

bool DialogKey(const TForm2& form, UINT key) {
    MSG message{::GetFocus(), WM_KEYDOWN, key, 1};
    if (!message.hwnd) message.hwnd = form.Handle();
    const bool handled = ::IsDialogMessageW(form.Handle(), &message) != FALSE;
    // A button clicks when the key comes up.
    MSG up{message.hwnd, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001)};
    ::IsDialogMessageW(form.Handle(), &up);
    Pump(1);
    return handled;
}

bool TakeQuitRequest() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return true;
        ::DispatchMessageW(&message);
    }
    return false;
}

}  // namespace probe
