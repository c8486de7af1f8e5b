#include "RunLog.h"

#include "Messages.h"
#include "PlatformError.h"
#include "Utf8.h"

#include <cstdio>

RunLog::RunLog(std::wstring path, bool replace) : path_(std::move(path)) {
    file_ = win::UniqueFile(::CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                          replace ? CREATE_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
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

std::wstring DefaultLogPath(const std::wstring& title, int attempt) {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    wchar_t stamp[32];
    std::swprintf(stamp, 32, L"-%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                  now.wSecond);
    return std::wstring(temp, length) + title + stamp + (attempt > 0 ? L"-" + std::to_wstring(attempt) : L"") +
           L".log";
}

RunLog OpenRunLog(const Invocation& invocation, bool quiet) {
    if (!invocation.log && !quiet) return {};
    if (!invocation.logFile.empty()) return RunLog(invocation.logFile);
    // Two runs in one second, at once as a deployment's retry may be, each
    // get a file of their own.
    constexpr int kAttempts = 100;
    for (int attempt = 0;; ++attempt) {
        try {
            return RunLog(DefaultLogPath(ApplicationTitle(), attempt), false);
        } catch (const EPlatformError& error) {
            if (error.Code() != ERROR_FILE_EXISTS || attempt + 1 == kAttempts) throw;
        }
    }
}
