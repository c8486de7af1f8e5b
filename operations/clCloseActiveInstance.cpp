#include "clCloseActiveInstance.h"

#include "Handles.h"
#include "InstanceShutdown.h"

#include <windows.h>
#include <tlhelp32.h>

#include <string_view>
#include <utility>

#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(PROCESSENTRY32W) == 556, "the toolhelp record of 32-bit Windows");
#endif

namespace {

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

int CloseRunningInstances(const std::wstring& name) {
    int ended = 0;
    RepeatKillWhileRunning(
        {
            .exists = [&] { return ProcessExists(name); },
            .kill = [&] { ended += RequestTermination(name).second; },
            .pause = [] { ::Sleep(kPauseMs); },
        },
        kMaxRounds);
    return ended;
}
