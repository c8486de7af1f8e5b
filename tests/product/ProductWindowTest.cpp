// Ketrova.exe started as an installer or a shortcut starts it: the show command
// and working directory it is given come back in its title, its window obeys
// the show command, paints, and closes with exit code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "Handles.h"

namespace {

std::wstring fullPath(const std::wstring& path) {
    std::wstring full(MAX_PATH * 4, L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    return full;
}

std::wstring productExe() {
    std::wstring path;
    for (const char* c = KETROVA_PRODUCT_EXE; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return fullPath(path);
}

class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name) {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        path_ = fullPath(std::wstring(temp) + name);
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { ::RemoveDirectoryW(path_.c_str()); }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

struct Product {
    win::UniqueHandle process;
    HWND window = nullptr;
};

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK matchProductWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    wchar_t className[64] = {};
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    ::GetClassNameW(window, className, 64);
    if (owner != search.processId || std::wstring(className) != L"KetrovaMainWindow") return TRUE;
    search.found = window;
    return FALSE;
}

HWND findWindowOf(DWORD processId) {
    WindowSearch search{processId, nullptr};
    ::EnumWindows(matchProductWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Product start(const std::wstring& folder, std::optional<WORD> show) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (show) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = *show;
    }
    PROCESS_INFORMATION info{};
    const std::wstring exe = productExe();
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info))
        return {};
    win::UniqueProcessInformation started(info);
    Product product{std::move(started.process), nullptr};
    // The window exists before it is shown: wait for the message loop first.
    ::WaitForInputIdle(info.hProcess, 10000);
    for (int i = 0; i < 200 && !product.window; ++i) {
        product.window = findWindowOf(info.dwProcessId);
        if (!product.window) ::Sleep(50);
    }
    return product;
}

std::wstring titleOf(HWND window) {
    std::wstring title(::GetWindowTextLengthW(window) + 1, L'\0');
    title.resize(::GetWindowTextW(window, title.data(), static_cast<int>(title.size())));
    return title;
}

DWORD closeAndWait(const Product& product) {
    ::PostMessageW(product.window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(product.process.get(), 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(product.process.get(), 99);
        return 99;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(product.process.get(), &code);
    return code;
}

}  // namespace

TEST(ProductWindow, TitleReportsExecutableFolderAndShowCommand) {
    const ScratchFolder folder(L"Ketrova pasta de trabalho \u00e7\u00e3o");
    const struct {
        std::optional<WORD> show;
        int reported;
        bool minimized;
    } cases[] = {
        {SW_SHOWMINNOACTIVE, SW_SHOWMINNOACTIVE, true},
        {SW_SHOWNORMAL, SW_SHOWNORMAL, false},
        {std::nullopt, SW_SHOWDEFAULT, false},  // no show command in the start-up info: the runtime passes the default
    };
    for (const auto& c : cases) {
        const Product product = start(folder.path(), c.show);
        ASSERT_TRUE(product.window) << "no window for show command " << c.reported;
        EXPECT_EQ(titleOf(product.window),
                  L"Ketrova | exe=" + productExe() + L" | cwd=" + folder.path() + L" | show=" + std::to_wstring(c.reported));
        EXPECT_EQ(::IsIconic(product.window) != FALSE, c.minimized) << c.reported;
        EXPECT_TRUE(::IsWindowVisible(product.window));
        EXPECT_EQ(closeAndWait(product), 0u);
    }
}

TEST(ProductWindow, PaintsTheNameOnTheNavyGround) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const Product product = start(temp, SW_SHOWNORMAL);
    ASSERT_TRUE(product.window);
    ::SetForegroundWindow(product.window);
    ::RedrawWindow(product.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ::Sleep(300);

    RECT client{};
    ::GetClientRect(product.window, &client);
    const win::ScopedWindowDc screen(nullptr);
    POINT corner{4, 4}, centre{client.right / 2, client.bottom / 2};
    ::ClientToScreen(product.window, &corner);
    ::ClientToScreen(product.window, &centre);
    EXPECT_EQ(::GetPixel(screen.dc(), corner.x, corner.y), RGB(13, 19, 33));
    int bright = 0;
    for (int dx = -80; dx <= 80; ++dx)
        for (int dy = -20; dy <= 20; dy += 2) {
            const COLORREF c = ::GetPixel(screen.dc(), centre.x + dx, centre.y + dy);
            if (GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200) ++bright;
        }
    EXPECT_GT(bright, 50) << "no light text in the middle of the window";
    EXPECT_EQ(closeAndWait(product), 0u);
}
