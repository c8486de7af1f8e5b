#include "clInstallFromResource.h"

#include "FileDeletion.h"
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

void SaveResourceToFile(const std::wstring& resourceName, const std::wstring& filePath, InstallProgress* progress) {
    TResourceStream resource(resourceName, RT_RCDATA);
    native::File file(filePath, native::FileAccess::Create);
    if (!file.IsOpen()) {
        throw EPlatformError(L"Cannot create file \"" + filePath + L"\". " + file.ErrorText(), file.ErrorCode());
    }
    // Pieces go straight from the mapped image to the file.
    const auto* bytes = static_cast<const char*>(resource.Memory());
    for (auto remaining = static_cast<std::size_t>(resource.Size()); remaining > 0;) {
        const std::size_t piece = std::min(remaining, CopyPiece);
        if (!file.Write(bytes, piece)) {
            throw EPlatformError(L"Stream write error. " + file.ErrorText(), file.ErrorCode());
        }
        bytes += piece;
        remaining -= piece;
        if (progress) {
            progress->Copied(piece);
            progress->Checkpoint();
        }
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
    ~TemporaryArchive() { DeleteEmptiedFirst(path_); }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

// The bytes of the copy and of the extraction, read from the payload's
// directory before either starts, so that the bar's scale never changes.
void BeginProgress(const std::wstring& resourceName, InstallProgress& progress) {
    TResourceStream resource(resourceName, RT_RCDATA);
    TZipFile zip;
    zip.Open(resource, TZipMode::zmRead);
    std::uint64_t bytes = 0;
    for (int i = 0; i < zip.FileCount(); ++i) bytes += zip.FileInfo(i).GetUncompressedSize64();
    progress.Begin(static_cast<std::uint64_t>(resource.Size()), bytes, static_cast<unsigned>(zip.FileCount()));
}

// Counts each entry's new bytes. The extracting threads write one entry at a
// time each, and an entry's name is the same string on every call for it.
void FollowExtraction(TZipFile& zip, InstallProgress& progress) {
    zip.OnProgress = [&progress](TZipFile&, const std::wstring& file, const TZipHeader&, std::uint64_t position) {
        thread_local const std::wstring* entry = nullptr;
        thread_local std::uint64_t counted = 0;
        const bool started = &file != entry || position < counted;
        if (started) {
            entry = &file;
            counted = 0;
        }
        progress.Extracted(position - counted, started);
        counted = position;
        progress.Checkpoint();
    };
}

// Files that the extraction replaces are kept until it is complete.
InstalledPayload ExtractArchive(const std::wstring& archivePath, const std::wstring& folder,
                                InstallProgress* progress) {
    TZipFile zip;
    zip.Open(archivePath, TZipMode::zmRead);
    ReplacementJournal journal(folder, zip.Judge(folder));
    if (progress) {
        progress->StartExtracting();
        FollowExtraction(zip, *progress);
    }
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
    if (progress) progress->FilesInPlace();
    journal.Commit();
    return installed;
}

}  // namespace

InstalledPayload InstallFromResource(const std::wstring& resourceName, const std::wstring& folder,
                                     InstallProgress* progress) {
    MakeFolder(folder);
    // A leftover of an earlier run goes first; if it stays, creating the new
    // copy fails and says so. One that cannot be deleted afterwards stays; the
    // product is installed all the same.
    const TemporaryArchive archive(folder + resourceName + L".zip");
    try {
        if (native::FileExists(archive.Path())) DeleteEmptiedFirst(archive.Path());
        if (progress) BeginProgress(resourceName, *progress);
        SaveResourceToFile(resourceName, archive.Path(), progress);
    } catch (...) {
        RethrowAsStepFailed(L"copy the payload", archive.Path());
    }
    try {
        return ExtractArchive(archive.Path(), folder, progress);
    } catch (...) {
        RethrowAsStepFailed(L"extract the payload", folder);
    }
}
