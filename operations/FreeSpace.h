// The room an installation needs on its volume, checked before anything
// changes: the payload's copy, every extracted file and the uninstaller, each
// rounded up to whole clusters. An earlier installation in the folder gives
// its room back only at the end, so the free room must hold all of it.
#pragma once

#include <cstdint>
#include <string>

struct FreeSpace {
    std::uint64_t needed = 0;
    std::uint64_t free = 0;
    // False when the volume could not be asked (a drive that is not there):
    // the installation's own steps then meet the cause.
    bool known = false;
};

// Throws EStepFailed with the system's disk-full code when the volume of
// folder has less free room than the installation needs; the reader's
// refusal of the payload as Exception.
FreeSpace RequireFreeSpace(const std::wstring& folder, const std::wstring& payloadResource,
                           const std::wstring& uninstallerResource);
