#include "RunLog.h"

#include "Messages.h"
#include "PlatformError.h"
#include "Utf8.h"

#include <cstdio>

RunLog::RunLog(std::wstring path) : path_(std::move(path)) {
    file_ = win::UniqueFile(::CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        const DWORD code = ::GetLastError();
        throw EPlatformError(L"Cannot create the log \"" + path_ + L"\". " + SystemMessage(code), code);
    }
}

void RunLog::Write(std::wstring_view text) const noexcept {
    if (!file_) return;
    try {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%8lld ms  ", static_cast<long long>(elapsed));
        // One event, one line: a message's line breaks become " | ", which no path holds.
        std::wstring flat;
        for (const wchar_t c : text) {
            if (c == L'\n') flat += L" | ";
            else if (c != L'\r') flat += c;
        }
        const std::string line = stamp + WideToUtf8(flat) + "\r\n";
        DWORD written = 0;
        // Written straight to the file and flushed: nothing waits in a buffer of ours.
        ::WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        ::FlushFileBuffers(file_.get());
    } catch (...) {
        // Out of memory for one line: the run matters more than its log.
    }
}

std::wstring DefaultLogPath(const std::wstring& title) {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    wchar_t stamp[32];
    std::swprintf(stamp, 32, L"-%04u%02u%02u-%02u%02u%02u.log", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return std::wstring(temp, length) + title + stamp;
}

RunLog OpenRunLog(const Invocation& invocation, bool quiet) {
    if (!invocation.log && !quiet) return {};
    return RunLog(invocation.logFile.empty() ? DefaultLogPath(ApplicationTitle()) : invocation.logFile);
}
