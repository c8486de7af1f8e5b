#include "InstallationLock.h"

#include <Failure.h>
#include <PlatformError.h>

InstallationLock::InstallationLock(const std::wstring& productName) {
    // "Global\" reaches across sessions: a deployment as SYSTEM and a user's
    // own installer meet the same object.
    const std::wstring name = L"Global\\" + productName + L"-Instalacao";
    mutex_.reset(::CreateMutexW(nullptr, FALSE, name.c_str()));
    if (!mutex_) {
        const DWORD code = ::GetLastError();
        throw EStepFailed({.step = L"take the installation lock", .path = name, .systemCode = code,
                           .text = SystemMessage(code)});
    }
    // An installer that died holding it leaves it abandoned, which is ours now.
    const DWORD taken = ::WaitForSingleObject(mutex_.get(), 0);
    if (taken != WAIT_OBJECT_0 && taken != WAIT_ABANDONED) {
        throw EStepFailed({.step = L"take the installation lock",
                           .path = name,
                           .systemCode = ERROR_INSTALL_ALREADY_RUNNING,
                           .text = L"another installation of " + productName + L" is running"});
    }
}
