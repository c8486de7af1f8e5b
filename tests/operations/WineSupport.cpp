#include "WineSupport.h"

#include "AsciiCase.h"
#include "Messages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>

std::wstring ProductExe() {
    // The build gives a Unix path; Wine shows the Unix root as drive Z:.
    std::wstring path = L"Z:";
    for (const char* c = KETROVA_PRODUCT_EXE; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp) + L"ketrova-ops-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    CreateFolders(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::all, ignored);
    std::filesystem::remove_all(path_, ignored);
}

PlacedFile::PlacedFile(std::wstring path, const std::string& content) : path_(std::move(path)) {
    WriteTextFile(path_, content);
}

PlacedFile::~PlacedFile() {
    ::DeleteFileW(path_.c_str());
}

void CreateFolders(const std::wstring& path) {
    std::filesystem::create_directories(path);
}

void WriteTextFile(const std::wstring& path, const std::string& content) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    file << content;
    ASSERT_TRUE(file.good()) << "cannot write a test file";
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (::GetTickCount64() >= deadline) return false;
        ::Sleep(20);
    }
    return true;
}

win::UniqueHandle StartProcess(const std::wstring& exePath) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!::CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        ADD_FAILURE() << "CreateProcessW failed with " << ::GetLastError();
        return {};
    }
    return std::move(win::UniqueProcessInformation(info).process);
}

void EndProcess(HANDLE process) {
    if (!process) return;
    ::TerminateProcess(process, 0);
    ::WaitForSingleObject(process, 5000);
}

namespace {

struct WindowSearch {
    std::wstring wanted;
    HWND found = nullptr;
};

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

BOOL CALLBACK VisitWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    if (std::wstring_view(className) != L"KetrovaMainWindow") return TRUE;
    if (AsciiUpper(WindowText(window)).find(search.wanted) == std::wstring::npos) return TRUE;
    search.found = window;
    return FALSE;
}

std::vector<std::wstring> caught;

void Catch(const std::wstring& text) {
    caught.push_back(text);
}

}  // namespace

HWND FindProductWindow(const std::wstring& exePath) {
    WindowSearch search{AsciiUpper(L"| exe=" + exePath + L" |")};
    ::EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TitleField(HWND window, const std::wstring& name) {
    const std::wstring title = WindowText(window);
    const std::wstring key = L"| " + name + L"=";
    const auto start = title.find(key);
    if (start == std::wstring::npos) return {};
    const auto valueStart = start + key.size();
    const auto end = title.find(L" |", valueStart);
    return title.substr(valueStart, end == std::wstring::npos ? std::wstring::npos : end - valueStart);
}

CaughtMessages::CaughtMessages() {
    caught.clear();
    SetMessageSinkForTests(Catch);
}

CaughtMessages::~CaughtMessages() {
    SetMessageSinkForTests(nullptr);
}

const std::vector<std::wstring>& CaughtMessages::texts() const {
    return caught;
}
