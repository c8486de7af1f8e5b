#include "clInstallFromResource.h"

#include "InstallRegistration.h"
#include "ReplacementJournal.h"
#include "StepFailure.h"

#include <FileSystem.h>
#include <Handles.h>
#include <PlatformError.h>
#include <ResourceStream.h>
#include <ZipFile.h>

#include <windows.h>

#include <algorithm>
#include <utility>

namespace {

constexpr std::size_t CopyPiece = 1048576;

}  // namespace

void SaveResourceToFile(const std::wstring& resourceName, const std::wstring& filePath) {
    TResourceStream resource(resourceName, RT_RCDATA);
    const win::UniqueFile file(::CreateFileW(filePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD code = ::GetLastError();
        throw EPlatformError(L"Cannot create file \"" + filePath + L"\". " + SystemMessage(code), code);
    }
    // Pieces go straight from the mapped image to the file.
    const auto* bytes = static_cast<const char*>(resource.Memory());
    for (auto remaining = static_cast<std::size_t>(resource.Size()); remaining > 0;) {
        const auto piece = static_cast<DWORD>(std::min(remaining, CopyPiece));
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes, piece, &written, nullptr) || written != piece) {
            const DWORD code = ::GetLastError();
            throw EPlatformError(L"Stream write error. " + SystemMessage(code), code);
        }
        bytes += piece;
        remaining -= piece;
    }
}

namespace {

// The folder and its missing parents, from the top; the first that cannot be
// made names the cause (a read-only volume, a drive that is not there).
void MakeFolder(const std::wstring& folder) {
    std::vector<std::wstring> folders = MissingParentFolders(folder);
    folders.insert(folders.begin(), folder);
    for (auto made = folders.rbegin(); made != folders.rend(); ++made) {
        if (::CreateDirectoryW(made->c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS) continue;
        const DWORD code = ::GetLastError();
        throw EStepFailed({.step = L"make the folder", .path = *made, .systemCode = code, .text = SystemMessage(code)});
    }
}

// The copy of the payload goes with the step, whatever ended it.
class TemporaryArchive {
public:
    explicit TemporaryArchive(std::wstring path) : path_(std::move(path)) {}
    TemporaryArchive(const TemporaryArchive&) = delete;
    TemporaryArchive& operator=(const TemporaryArchive&) = delete;
    ~TemporaryArchive() { ::DeleteFileW(path_.c_str()); }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

// Files that the extraction replaces are kept until it is complete.
InstalledPayload ExtractArchive(const std::wstring& archivePath, const std::wstring& folder) {
    TZipFile zip;
    zip.Open(archivePath, TZipMode::zmRead);
    ReplacementJournal journal(folder, zip.Judge(folder));
    zip.ExtractAll(folder);
    InstalledPayload installed;
    const auto& plan = zip.Judge(folder);
    for (std::size_t i = 0; i < plan.size(); ++i) {
        std::wstring name = plan.Name(i);
        if (!plan[i].folder) {
            installed.files.push_back(std::move(name));
            installed.bytes += zip.FileInfo(static_cast<int>(i)).GetUncompressedSize64();
        } else if (!name.empty()) {
            name.pop_back();
            installed.folders.push_back(std::move(name));
        }
    }
    zip.Close();
    journal.Commit();
    return installed;
}

}  // namespace

InstalledPayload InstallFromResource(const std::wstring& resourceName, const std::wstring& folder) {
    MakeFolder(folder);
    // A leftover of an earlier run goes first; if it stays, creating the new
    // copy fails and says so. One that cannot be deleted afterwards stays; the
    // product is installed all the same.
    const TemporaryArchive archive(folder + resourceName + L".zip");
    try {
        if (native::FileExists(archive.Path())) ::DeleteFileW(archive.Path().c_str());
        SaveResourceToFile(resourceName, archive.Path());
    } catch (...) {
        RethrowAsStepFailed(L"copy the payload", archive.Path());
    }
    try {
        return ExtractArchive(archive.Path(), folder);
    } catch (...) {
        RethrowAsStepFailed(L"extract the payload", folder);
    }
}
