#include "Failure.h"

#include "ExitCodes.h"

#include <cstdio>

namespace {

// The platform's numbers (winerror.h), which portable code cannot include.
constexpr unsigned long kAccessDenied = 5;
constexpr unsigned long kWriteProtect = 19;
constexpr unsigned long kSharingViolation = 32;
constexpr unsigned long kLockViolation = 33;
constexpr unsigned long kHandleDiskFull = 39;
constexpr unsigned long kDiskFull = 112;
constexpr unsigned long kInstallUserExit = 1602;
constexpr unsigned long kInstallAlreadyRunning = 1618;
constexpr unsigned long kUserMappedFile = 1224;

// A COM call reports a system error as HRESULT_FROM_WIN32(code).
unsigned long Win32Code(unsigned long code) {
    constexpr unsigned long kWin32Facility = 0x80070000UL;
    return (code & 0xFFFF0000UL) == kWin32Facility ? code & 0xFFFFUL : code;
}

std::wstring HexCode(unsigned long code) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", code);
    return text;
}

}  // namespace

EStepFailed::EStepFailed(FailureCause cause) : Exception(DescribeFailure(cause)), cause_(std::move(cause)) {}

int ExitCodeFor(const FailureCause& cause) {
    if (cause.damagedInstaller) return kExitDamagedInstaller;
    switch (Win32Code(cause.systemCode)) {
    case kDiskFull:
    case kHandleDiskFull: return kExitDiskFull;
    case kSharingViolation:
    case kLockViolation:
    case kUserMappedFile: return kExitFileInUse;
    case kAccessDenied:
    case kWriteProtect: return kExitAccessDenied;
    case kInstallUserExit: return kExitCancelled;
    case kInstallAlreadyRunning: return kExitInstallInProgress;
    default: return kExitPayloadFailed;
    }
}

std::wstring DescribeFailure(const FailureCause& cause) {
    std::wstring line = cause.step;
    if (!cause.path.empty()) line += L" \"" + cause.path + L"\"";
    line += L": " + (cause.text.empty() ? std::wstring(L"failed") : cause.text);
    if (cause.systemCode != 0) {
        line += L" (system error " + (cause.systemCode > 0xFFFF ? HexCode(cause.systemCode)
                                                                : std::to_wstring(cause.systemCode)) + L")";
    }
    if (cause.damagedInstaller) line += L"; the installer file is damaged";
    return line;
}
