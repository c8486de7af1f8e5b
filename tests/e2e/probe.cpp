// Reads back, through the real Windows API, what the end-to-end tests check:
//   probe link LINK        the fields of a shell link, via IShellLinkW
//   probe tree FOLDER      every file below FOLDER: attributes, size, times
//   probe window TITLE     the child controls of a top-level window
//   probe dacl PATH        a file's or folder's owner and DACL, by GetNamedSecurityInfoW
//   probe payload EXE ZIP  puts ZIP into a copy of the installer as its payload
//   probe cover TITLE      covers the window a moment, then tells how soon its
//                          pixels were back: restored=MS
//   probe watch TITLE UNTIL BAR TEXT COLOUR
//                          until a window UNTIL shows (or TITLE goes or is
//                          disabled, as by a box of its own), every
//                          few ms: each new picture of two areas of TITLE
//                          (left,top,width,height), as the number of pixels
//                          of the hex COLOUR (0xRRGGBB) in BAR and a checksum
//                          of TEXT, "count|sum"; then the longest wait for an
//                          answer to a message, longest=MS
// Output is UTF-8, one "key=value" or "|"-separated record per line.
#include "Handles.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    return result;
}

int printLink(const wchar_t* path) {
    win::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid())))
        return 1;
    win::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid())) || FAILED(file->Load(path, STGM_READ)))
        return 1;
    wchar_t text[1024] = L"";
    link->GetPath(text, 1024, nullptr, SLGP_RAWPATH);
    std::printf("path=%s\n", utf8(text).c_str());
    text[0] = 0;
    link->GetDescription(text, 1024);
    std::printf("description=%s\n", utf8(text).c_str());
    text[0] = 0;
    link->GetWorkingDirectory(text, 1024);
    std::printf("workdir=%s\n", utf8(text).c_str());
    text[0] = 0;
    link->GetArguments(text, 1024);
    std::printf("args=%s\n", utf8(text).c_str());
    int show = 0;
    link->GetShowCmd(&show);
    std::printf("show=%d\n", show);
    return 0;
}

std::string localTime(const FILETIME& utc) {
    FILETIME local;
    SYSTEMTIME t;
    ::FileTimeToLocalFileTime(&utc, &local);
    ::FileTimeToSystemTime(&local, &t);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

// relative path|attributes (hex)|size|last write (local)|creation (local)
void printTree(const std::wstring& root, const std::wstring& relative) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = ::FindFirstFileW((root + relative + L"*").c_str(), &entry);
    const win::UniqueFind closer(search);
    if (!closer) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            std::printf("%s\\|dir\n", utf8(relative + name).c_str());
            printTree(root, relative + name + L"\\");
            continue;
        }
        const unsigned long long size = (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        std::printf("%s|%02lx|%llu|%s|%s\n", utf8(relative + name).c_str(), entry.dwFileAttributes, size,
                    localTime(entry.ftLastWriteTime).c_str(), localTime(entry.ftCreationTime).c_str());
    } while (::FindNextFileW(search, &entry));
}

BOOL CALLBACK printChild(HWND child, LPARAM) {
    wchar_t className[64] = L"";
    ::GetClassNameW(child, className, 64);
    // WM_GETTEXT, not GetWindowTextW: across processes the latter gives the
    // caption the window was created with, not an edit control's text.
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(child, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(child, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                          &copied);
    text.resize(copied);
    // One control per line: a message box's lines are joined by spaces.
    std::replace_if(text.begin(), text.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
    RECT r;
    ::GetWindowRect(child, &r);
    POINT topLeft{r.left, r.top};
    ::ScreenToClient(::GetParent(child), &topLeft);
    // class|text|left|top|width|height|visible|enabled|checked|screen left|screen top
    std::printf("%s|%s|%ld|%ld|%ld|%ld|%d|%d|%d|%ld|%ld\n", utf8(className).c_str(), utf8(text).c_str(), topLeft.x,
                topLeft.y, r.right - r.left, r.bottom - r.top, ::IsWindowVisible(child) ? 1 : 0,
                ::IsWindowEnabled(child) ? 1 : 0, static_cast<int>(::SendMessageW(child, BM_GETCHECK, 0, 0)), r.left,
                r.top);
    return TRUE;
}

int printWindow(const wchar_t* title) {
    const HWND window = ::FindWindowW(nullptr, title);
    if (!window) return 1;
    RECT r;
    ::GetWindowRect(window, &r);
    std::printf("window|%ld|%ld|%ld|%ld|%d|%d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                ::IsWindowVisible(window) ? 1 : 0, ::IsWindowEnabled(window) ? 1 : 0);
    ::EnumChildWindows(window, printChild, 0);
    return 0;
}

std::string sidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!::ConvertSidToStringSidW(sid, &text)) return "?";
    const win::UniqueLocal<wchar_t> owned(text);
    return utf8(text);
}

// owner=SID, protected=0|1, then one "ace|type|SID|mask|flags" line per entry (hex).
int printDacl(const wchar_t* path) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(path, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                                nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return 1;
    }
    const win::UniqueLocal<void> owned(descriptor);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ::GetSecurityDescriptorControl(descriptor, &control, &revision);
    std::printf("owner=%s\nprotected=%d\n", sidText(owner).c_str(), (control & SE_DACL_PROTECTED) ? 1 : 0);
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (!::GetAce(dacl, i, &entry)) continue;
        const auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        std::printf("ace|%x|%s|%lx|%x\n", ace->Header.AceType, sidText(const_cast<DWORD*>(&ace->SidStart)).c_str(),
                    ace->Mask, ace->Header.AceFlags);
    }
    return 0;
}

// The payload is the installer's RCDATA resource PROGRAMA, in Portuguese (Brazil).
int replacePayload(const wchar_t* exe, const wchar_t* archive) {
    // Mapped, not read: a payload near a gigabyte fits the address space only once.
    const win::UniqueFile file(
        ::CreateFileW(archive, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return 1;
    const DWORD size = ::GetFileSize(file.get(), nullptr);
    const win::UniqueHandle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    void* data = mapping ? ::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (!data) return 1;
    const HANDLE update = ::BeginUpdateResourceW(exe, FALSE);
    const WORD portuguese = MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN);
    const bool put = update && ::UpdateResourceW(update, RT_RCDATA, L"PROGRAMA", portuguese, data, size) != FALSE;
    const bool written = update && ::EndUpdateResourceW(update, !put) && put;
    ::UnmapViewOfFile(data);
    return written ? 0 : 1;
}

using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

void pumpFor(int ms) {
    const auto start = Clock::now();
    MSG message;
    while (msSince(start) < ms) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        ::Sleep(5);
    }
}

// Points of the logo, which no state of the window changes.
std::vector<COLORREF> logoPixels(HDC screen, const RECT& window) {
    std::vector<COLORREF> pixels;
    for (int y = 20; y < 100; y += 20) {
        for (int x = 30; x < 110; x += 20) pixels.push_back(::GetPixel(screen, window.left + x, window.top + y));
    }
    return pixels;
}

int coverWindow(const wchar_t* title) {
    const HWND window = ::FindWindowW(nullptr, title);
    if (!window) return 1;
    RECT r;
    ::GetWindowRect(window, &r);
    const HDC screen = ::GetDC(nullptr);
    const std::vector<COLORREF> before = logoPixels(screen, r);
    const HWND cover = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | SS_BLACKRECT,
                                         r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr);
    ::ShowWindow(cover, SW_SHOWNOACTIVATE);
    pumpFor(500);
    const bool covered = logoPixels(screen, r) != before;
    ::DestroyWindow(cover);
    const auto uncovered = Clock::now();
    while (logoPixels(screen, r) != before && msSince(uncovered) < 10000) ::Sleep(2);
    std::printf("covered=%d restored=%lld\n", covered ? 1 : 0, msSince(uncovered));
    ::ReleaseDC(nullptr, screen);
    return 0;
}

struct Area {
    int left, top, width, height;
};

Area parseArea(const wchar_t* text) {
    Area area{};
    std::swscanf(text, L"%d,%d,%d,%d", &area.left, &area.top, &area.width, &area.height);
    return area;
}

// The screen's pixels of an area of the window, 0x00RRGGBB, in one copy.
std::vector<std::uint32_t> screenPixels(HDC screen, const RECT& window, const Area& area) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), area.width, -area.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    const win::UniqueBitmap bitmap(::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const win::UniqueMemoryDc memory(::CreateCompatibleDC(screen));
    const win::ScopedSelect select(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, area.width, area.height, screen, window.left + area.left, window.top + area.top,
             SRCCOPY);
    const auto* first = static_cast<const std::uint32_t*>(bits);
    return {first, first + static_cast<std::size_t>(area.width) * area.height};
}

bool closeTo(std::uint32_t pixel, std::uint32_t colour) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((colour >> shift) & 0xFF)) > 8)
            return false;
    }
    return true;
}

int watchWindow(const wchar_t* title, const wchar_t* until, const Area& bar, const Area& text, std::uint32_t colour) {
    HWND window = nullptr;
    for (const auto start = Clock::now(); !window && msSince(start) < 60000; ::Sleep(10)) {
        window = ::FindWindowW(nullptr, title);
    }
    if (!window) return 1;
    const HDC screen = ::GetDC(nullptr);
    long long longest = 0;
    std::string last;
    // Until a box of the window's comes, disabling it; a picture taken while
    // it came may show part of the box.
    const auto watching = [&] { return ::IsWindow(window) && ::IsWindowEnabled(window) && !::FindWindowW(nullptr, until); };
    while (watching()) {
        const auto sent = Clock::now();
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) && !::IsWindow(window)) break;
        longest = std::max(longest, msSince(sent));
        RECT r;
        ::GetWindowRect(window, &r);
        const auto barPixels = screenPixels(screen, r, bar);
        const auto count = std::count_if(barPixels.begin(), barPixels.end(), [&](auto p) { return closeTo(p, colour); });
        std::uint32_t sum = 0;
        for (const std::uint32_t p : screenPixels(screen, r, text)) sum = sum * 31 + (p & 0xFFFFFF);
        const std::string picture = std::to_string(count) + "|" + std::to_string(sum);
        if (!watching()) break;
        if (picture != last) std::printf("%s\n", picture.c_str());
        last = picture;
        ::Sleep(5);
    }
    std::printf("longest=%lld\n", longest);
    ::ReleaseDC(nullptr, screen);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"payload") return replacePayload(argv[2], argv[3]);
    if (argc == 7 && std::wstring(argv[1]) == L"watch") {
        return watchWindow(argv[2], argv[3], parseArea(argv[4]), parseArea(argv[5]),
                           static_cast<std::uint32_t>(std::wcstoul(argv[6], nullptr, 16)));
    }
    if (argc != 3) {
        std::fputs("usage: probe link LINK | tree FOLDER | window TITLE | dacl PATH | hold FILE | payload EXE ZIP |"
                   " cover TITLE | watch TITLE UNTIL BAR TEXT COLOUR\n", stderr);
        return 2;
    }
    const std::wstring command = argv[1];
    if (command == L"link") {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const int result = printLink(argv[2]);
        ::CoUninitialize();
        return result;
    }
    if (command == L"tree") {
        std::wstring root = argv[2];
        if (root.back() != L'\\') root += L'\\';
        printTree(root, L"");
        return 0;
    }
    if (command == L"window") return printWindow(argv[2]);
    if (command == L"dacl") return printDacl(argv[2]);
    if (command == L"cover") return coverWindow(argv[2]);
    if (command == L"hold") {
        // Open with no sharing at all until the process is killed, as a program
        // that keeps a file of the product open would.
        const HANDLE file = ::CreateFileW(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        std::puts("held");
        std::fflush(stdout);
        ::Sleep(INFINITE);
    }
    return 2;
}
