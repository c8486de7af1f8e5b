#include "CheckBoxScreen.h"

#include "Handles.h"

#include <algorithm>
#include <optional>
#include <sstream>
#include <stdexcept>

void Picture::Set(int x, int y, TColor colour) {
    if (x >= 0 && y >= 0 && x < width && y < height) pixels[y * width + x] = colour;
}

void Picture::Fill(int left, int top, int right, int bottom, TColor colour) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) Set(x, y, colour);
}

void Picture::Rectangle(int left, int top, int right, int bottom, TColor pen, TColor brush) {
    Fill(left, top, right, bottom, pen);
    Fill(left + 1, top + 1, right - 1, bottom - 1, brush);
}

void Picture::Diagonal(int x0, int y0, int x1, int y1, TColor colour) {
    const int steps = std::abs(x1 - x0);
    if (steps != std::abs(y1 - y0)) throw std::logic_error("not a diagonal");
    const int dx = x1 > x0 ? 1 : -1;
    const int dy = y1 > y0 ? 1 : -1;
    for (int k = 0; k < steps; ++k) Set(x0 + k * dx, y0 + k * dy, colour);
}

namespace {

constexpr POINT kFarAway{1200, 700};

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A 32-bit DIB section: its bits are 0x00RRGGBB, colour references 0x00BBGGRR.
TColor FromDib(DWORD bits) {
    return ((bits & 0xFF) << 16) | (bits & 0xFF00) | ((bits >> 16) & 0xFF);
}
DWORD ToDib(TColor colour) {
    return FromDib(colour);
}

class DibCanvas {
public:
    DibCanvas(int width, int height) : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
        const BITMAPINFO info = TopDown32(width, height);
        bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
        if (!bitmap_) throw std::runtime_error("CreateDIBSection failed");
        select_.emplace(dc_.get(), bitmap_.get());
    }
    HDC dc() const { return dc_.get(); }
    void Load(const Picture& picture) {
        std::transform(picture.pixels.begin(), picture.pixels.end(), bits_, ToDib);
    }
    Picture Read() {
        ::GdiFlush();
        Picture picture(width_, height_, 0);
        std::transform(bits_, bits_ + width_ * height_, picture.pixels.begin(), FromDib);
        return picture;
    }

private:
    int width_;
    int height_;
    win::UniqueMemoryDc dc_;
    win::UniqueBitmap bitmap_;
    DWORD* bits_ = nullptr;
    std::optional<win::ScopedSelect> select_;
};

Picture CaptureFrom(HDC source, int x, int y, int width, int height) {
    DibCanvas canvas(width, height);
    ::BitBlt(canvas.dc(), 0, 0, width, height, source, x, y, SRCCOPY);
    return canvas.Read();
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NEXTDLGCTL) {
        HWND next = lParam ? reinterpret_cast<HWND>(wParam)
                           : ::GetNextDlgTabItem(window, ::GetFocus(), static_cast<BOOL>(wParam));
        if (next) ::SetFocus(next);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void Send(std::initializer_list<INPUT> inputs) {
    std::vector<INPUT> list(inputs);
    ::SendInput(static_cast<UINT>(list.size()), list.data(), sizeof(INPUT));
}

INPUT Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT Mouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

void Picture::Caption(const std::wstring& text, const std::wstring& face, int size, int weight, RECT rect,
                      UINT flags, TColor colour) {
    DibCanvas canvas(width, height);
    canvas.Load(*this);
    const win::UniqueFont font(
        ::CreateFontW(-size, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str()));
    const win::ScopedSelect select(canvas.dc(), font.get());
    ::SetTextColor(canvas.dc(), colour);
    ::SetBkMode(canvas.dc(), TRANSPARENT);
    ::DrawTextW(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
    *this = canvas.Read();
}

int CaptionWidth(const std::wstring& text, const std::wstring& face, int size, int weight) {
    const win::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    const win::UniqueFont font(
        ::CreateFontW(-size, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str()));
    const win::ScopedSelect select(dc.get(), font.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

int Picture::CountOf(TColor colour, int left, int top, int right, int bottom) const {
    int count = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, height); ++y)
        for (int x = std::max(left, 0); x < std::min(right, width); ++x) count += At(x, y) == colour;
    return count;
}

int Picture::CountOtherThan(TColor colour, int left, int top, int right, int bottom) const {
    const int all = (std::min(bottom, height) - std::max(top, 0)) * (std::min(right, width) - std::max(left, 0));
    return std::max(all, 0) - CountOf(colour, left, top, right, bottom);
}

std::string Differences(const Picture& actual, const Picture& expected) {
    std::ostringstream out;
    if (actual.width != expected.width || actual.height != expected.height) {
        out << "size " << actual.width << "x" << actual.height << ", expected " << expected.width << "x"
            << expected.height;
        return out.str();
    }
    int count = 0;
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x) {
            if (actual.At(x, y) == expected.At(x, y)) continue;
            if (++count <= 12)
                out << " (" << x << "," << y << ") is " << std::hex << actual.At(x, y) << " not " << expected.At(x, y)
                    << std::dec << ";";
        }
    if (count == 0) return {};
    return std::to_string(count) + " pixels differ:" + out.str();
}

HostWindow::HostWindow() {
    static const ATOM atom = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = HostProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hbrBackground = ::CreateSolidBrush(kBackground);
        windowClass.lpszClassName = L"KetrovaOptionBoxHost";
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        return ::RegisterClassW(&windowClass);
    }();
    window_.reset(::CreateWindowExW(WS_EX_TOPMOST, MAKEINTATOM(atom), L"Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                    100, 100, 560, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    if (!window_) throw std::runtime_error("the host window could not be created");
    ::SetForegroundWindow(window_.get());
    ::SetActiveWindow(window_.get());
    PumpUntilIdle();
}

HWND HostWindow::Shared() {
    // Destroying a top-level window costs Wine about two seconds, so every test
    // of a program borrows the same one, and it is left for the process's end.
    static HostWindow* const host = new HostWindow;
    ::SetFocus(host->Handle());
    return host->Handle();
}

void PumpUntilIdle(HWND dialog) {
    int quietRounds = 0;
    for (int round = 0; round < 400 && quietRounds < 5; ++round) {
        bool any = false;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (dialog && ::IsDialogMessageW(dialog, &message)) continue;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        quietRounds = any ? 0 : quietRounds + 1;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

Picture CaptureScreen(HWND window) {
    ::RedrawWindow(::GetAncestor(window, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpUntilIdle();
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    RECT client{};
    ::GetClientRect(window, &client);
    const win::ScopedWindowDc screen(nullptr);
    return CaptureFrom(screen.dc(), origin.x, origin.y, client.right, client.bottom);
}

Picture CaptureSurface(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    const win::ScopedWindowDc own(window);
    return CaptureFrom(own.dc(), 0, 0, client.right, client.bottom);
}

void MovePointerTo(HWND window, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(window, &point);
    ::SetCursorPos(point.x, point.y);
    PumpUntilIdle();
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) PumpUntilIdle();
}

void MovePointerAway() {
    POINT pointer{};
    ::GetCursorPos(&pointer);
    if (pointer.x == kFarAway.x && pointer.y == kFarAway.y) return;
    const bool overOurs = ::GetWindowThreadProcessId(::WindowFromPoint(pointer), nullptr) == ::GetCurrentThreadId();
    ::SetCursorPos(kFarAway.x, kFarAway.y);
    // Leaving is noticed by a timer that runs at the hover time (400 ms by default).
    if (overOurs)
        PumpFor(600);
    else
        PumpUntilIdle();
}

void ClickAt(HWND window, int x, int y) {
    MovePointerTo(window, x, y);
    Send({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)});
}

void PressKey(WORD key) {
    Send({Key(key, false), Key(key, true)});
}

void PressAltWith(WORD key) {
    Send({Key(VK_MENU, false), Key(key, false), Key(key, true), Key(VK_MENU, true)});
}
