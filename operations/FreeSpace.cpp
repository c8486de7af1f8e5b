#include "FreeSpace.h"

#include <Failure.h>
#include <FileSystem.h>
#include <PlatformError.h>
#include <ResourceStream.h>
#include <ZipFile.h>

#include <windows.h>

namespace {

// What the installer writes beside the payload's files: the record.
constexpr std::uint64_t kRecordBytes = 64 * 1024;
constexpr std::uint64_t kDefaultCluster = 4096;

// The folder itself, or the closest folder above it that exists; empty when
// not even its drive is there.
std::wstring NearestExistingFolder(const std::wstring& folder) {
    std::wstring path = folder;
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    while (!path.empty() && !native::DirectoryExists(path + L"\\")) {
        const auto cut = path.find_last_of(L"\\/");
        if (cut == std::wstring::npos) return {};
        path.resize(cut);
    }
    return path.empty() ? path : path + L"\\";
}

std::uint64_t ClusterSize(const std::wstring& folder) {
    wchar_t root[MAX_PATH + 1] = {};
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!::GetVolumePathNameW(folder.c_str(), root, MAX_PATH + 1) ||
        !::GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) ||
        sectorsPerCluster == 0 || bytesPerSector == 0) {
        return kDefaultCluster;
    }
    return std::uint64_t{sectorsPerCluster} * bytesPerSector;
}

std::uint64_t RoundedUp(std::uint64_t bytes, std::uint64_t cluster) {
    return (bytes + cluster - 1) / cluster * cluster;
}

std::uint64_t ResourceBytes(const std::wstring& name) { return TResourceStream(name, RT_RCDATA).Size(); }

std::wstring MiB(std::uint64_t bytes) { return std::to_wstring((bytes + 1048575) / 1048576) + L" MiB"; }

}  // namespace

FreeSpace RequireFreeSpace(const std::wstring& folder, const std::wstring& payloadResource,
                           const std::wstring& uninstallerResource) {
    FreeSpace space;
    const std::wstring existing = NearestExistingFolder(folder);
    ULARGE_INTEGER available{};
    if (existing.empty() || !::GetDiskFreeSpaceExW(existing.c_str(), &available, nullptr, nullptr)) return space;
    const std::uint64_t cluster = ClusterSize(existing);
    TResourceStream payload(payloadResource, RT_RCDATA);
    space.needed = RoundedUp(static_cast<std::uint64_t>(payload.Size()), cluster) +
                   RoundedUp(ResourceBytes(uninstallerResource), cluster) + RoundedUp(kRecordBytes, cluster);
    TZipFile zip;
    zip.Open(payload, TZipMode::zmRead);
    for (int i = 0; i < zip.FileCount(); ++i) space.needed += RoundedUp(zip.FileInfo(i).GetUncompressedSize64(), cluster);
    space.free = available.QuadPart;
    space.known = true;
    if (space.free < space.needed) {
        throw EStepFailed({.step = L"check the free space", .path = existing, .systemCode = ERROR_DISK_FULL,
                           .text = L"the installation needs " + MiB(space.needed) + L", the volume has " +
                                   MiB(space.free) + L" free"});
    }
    return space;
}
