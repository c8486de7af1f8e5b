// One installation of the product at a time on the whole machine, whatever
// the folders: a machine-wide named mutex held while the installation runs.
#pragma once

#include <Handles.h>

#include <string>

class InstallationLock {
public:
    // Takes the lock of the product, without waiting. Throws EStepFailed when
    // another installer of the product holds it.
    explicit InstallationLock(const std::wstring& productName);
    InstallationLock(const InstallationLock&) = delete;
    InstallationLock& operator=(const InstallationLock&) = delete;
    ~InstallationLock() { ::ReleaseMutex(mutex_.get()); }

private:
    win::UniqueHandle mutex_;
};
