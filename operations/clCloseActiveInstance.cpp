#include "clCloseActiveInstance.h"

#include "Handles.h"
#include "InstanceShutdown.h"

#include <windows.h>
#include <tlhelp32.h>

#include <string_view>
#include <utility>
#include <vector>

#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(PROCESSENTRY32W) == 556, "the toolhelp record of 32-bit Windows");
#endif

namespace {

// How long the instances asked to close have, together, before they are killed.
constexpr DWORD kCloseWaitMs = 5000;
// Termination is asynchronous: a pause lets the system take the ended
// processes off its list before the next look.
constexpr DWORD kPauseMs = 50;
// 100 rounds of a pause and a snapshot: about five seconds.
constexpr int kMaxRounds = 100;

std::wstring_view EntryName(const PROCESSENTRY32W& entry) {
    const std::wstring_view all(entry.szExeFile, MAX_PATH);
    return all.substr(0, all.find(L'\0'));
}

// Calls visit for every process list entry whose name matches.
template <typename Visit>
void ForEachMatch(const std::wstring& name, Visit visit) {
    const win::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        if (MatchesExeName(EntryName(entry), name)) visit(entry);
    }
}

}  // namespace

bool ProcessExists(const std::wstring& name) {
    bool found = false;
    ForEachMatch(name, [&](const PROCESSENTRY32W&) { found = true; });
    return found;
}

namespace {

// The outcome of the last request, and how many were granted.
std::pair<bool, int> RequestTermination(const std::wstring& name) {
    bool result = false;
    int granted = 0;
    ForEachMatch(name, [&](const PROCESSENTRY32W& entry) {
        const win::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        // Without a handle the request fails like any other refused one.
        result = ::TerminateProcess(process.get(), 0) != FALSE;
        granted += result ? 1 : 0;
    });
    return {result, granted};
}

}  // namespace

bool KillProcess(const std::wstring& name) { return RequestTermination(name).first; }

namespace {

struct CloseRequest {
    DWORD processId;
    bool asked = false;
};

// A close request to each visible top-level window of the process, as the
// user's own Close would send it; the product saves or asks as it does then.
BOOL CALLBACK RequestClose(HWND window, LPARAM request) {
    auto& close = *reinterpret_cast<CloseRequest*>(request);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == close.processId && ::GetWindow(window, GW_OWNER) == nullptr && ::IsWindowVisible(window)) {
        close.asked = ::PostMessageW(window, WM_CLOSE, 0, 0) != FALSE || close.asked;
    }
    return TRUE;
}

// Asks every matching process that has a window to close and waits, a
// bounded time in all, for them to end; returns how many did.
int AskToClose(const std::wstring& name) {
    std::vector<win::UniqueHandle> asked;
    ForEachMatch(name, [&](const PROCESSENTRY32W& entry) {
        win::UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (!process) return;
        CloseRequest request{entry.th32ProcessID};
        ::EnumWindows(RequestClose, reinterpret_cast<LPARAM>(&request));
        // One without a window cannot be asked: it is killed without waiting.
        if (request.asked) asked.push_back(std::move(process));
    });
    const ULONGLONG deadline = ::GetTickCount64() + kCloseWaitMs;
    int closed = 0;
    for (const auto& process : asked) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        closed += ::WaitForSingleObject(process.get(), left) == WAIT_OBJECT_0 ? 1 : 0;
    }
    return closed;
}

}  // namespace

InstancesEnded CloseRunningInstances(const std::wstring& name) {
    InstancesEnded ended{.closed = AskToClose(name)};
    RepeatKillWhileRunning(
        {
            .exists = [&] { return ProcessExists(name); },
            .kill = [&] { ended.killed += RequestTermination(name).second; },
            .pause = [] { ::Sleep(kPauseMs); },
        },
        kMaxRounds);
    return ended;
}

std::wstring DescribeInstancesEnded(const InstancesEnded& ended) {
    const int total = ended.closed + ended.killed;
    if (total == 0) return L"0";
    return std::to_wstring(total) + L" (" + std::to_wstring(ended.closed) + L" closed when asked, " +
           std::to_wstring(ended.killed) + L" killed)";
}
