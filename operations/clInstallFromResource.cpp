#include "clInstallFromResource.h"

#include <FileSystem.h>
#include <Handles.h>
#include <Messages.h>
#include <PlatformError.h>
#include <ResourceStream.h>
#include <ZipFile.h>

#include <windows.h>

#include <algorithm>

namespace {

constexpr std::size_t CopyPiece = 1048576;

void SaveResourceToFile(const std::wstring& resourceName, const std::wstring& filePath) {
    TResourceStream resource(resourceName, RT_RCDATA);
    const win::UniqueFile file(::CreateFileW(filePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw EPlatformError(L"Cannot create file \"" + filePath + L"\". " + SystemMessage(::GetLastError()));
    }
    // Pieces go straight from the mapped image to the file.
    const auto* bytes = static_cast<const char*>(resource.Memory());
    for (auto remaining = static_cast<std::size_t>(resource.Size()); remaining > 0;) {
        const auto piece = static_cast<DWORD>(std::min(remaining, CopyPiece));
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes, piece, &written, nullptr) || written != piece) {
            throw EPlatformError(L"Stream write error");
        }
        bytes += piece;
        remaining -= piece;
    }
}

void ExtractArchive(const std::wstring& archivePath, const std::wstring& folder) {
    TZipFile zip;
    zip.Open(archivePath, TZipMode::zmRead);
    zip.ExtractAll(folder);
    zip.Close();
}

}  // namespace

bool InstallFromResource(const std::wstring& resourceName, const std::wstring& folder) {
    try {
        // A folder that cannot be made shows when the archive cannot be created in it.
        native::CreateDirectories(folder);
        const std::wstring archivePath = folder + resourceName + L".zip";
        // A leftover of an earlier run; if it stays, creating the new copy fails and says so.
        if (native::FileExists(archivePath)) ::DeleteFileW(archivePath.c_str());
        SaveResourceToFile(resourceName, archivePath);
        ExtractArchive(archivePath, folder);
        // An archive that cannot be deleted stays; the product is installed all the same.
        ::DeleteFileW(archivePath.c_str());
        return true;
    } catch (...) {
        ShowInstallationError();
        return false;
    }
}
