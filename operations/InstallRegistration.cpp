#include "InstallRegistration.h"

#include "StepFailure.h"
#include "UninstallEntry.h"

#include <CommandLine.h>
#include <FileSystem.h>
#include <PayloadName.h>
#include <PlatformError.h>

#include <windows.h>

#include <stdexcept>

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring ParentOf(const std::wstring& path) {
    std::wstring parent = path;
    while (!parent.empty() && (parent.back() == L'\\' || parent.back() == L'/')) parent.pop_back();
    const auto separator = parent.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : parent.substr(0, separator);
}

InstallRecord RecordOf(const InstallationFacts& facts) {
    InstallRecord record;
    record.keyName = UninstallKeyName(facts.productName, facts.folder);
    record.allUsers = facts.allUsers;
    record.displayName = UninstallDisplayName(facts.productName, facts.versionYear, facts.release);
    record.exeName = facts.exeName;
    record.files = facts.payload.files;
    record.folders = FoldersOf(facts.payload.files, facts.payload.folders);
    record.shortcuts = facts.shortcuts;
    record.createdParents = facts.createdParents;
    return record;
}

UninstallEntry EntryOf(const InstallationFacts& facts, const InstallRecord& record, std::uint64_t uninstallerBytes) {
    const std::wstring uninstaller = Quoted(facts.folder + UninstallerName);
    return UninstallEntry{
        .keyName = record.keyName,
        .displayName = EntryDisplayName(record.displayName, facts.folder, facts.proposedFolders),
        .displayVersion = UninstallDisplayVersion(facts.versionYear, facts.release),
        .publisher = facts.publisher,
        .installLocation = facts.folder,
        .displayIcon = facts.folder + facts.exeName,
        .estimatedSizeKiB = EstimatedSizeKiB(facts.payload.bytes + uninstallerBytes),
        .uninstallString = uninstaller,
        .quietUninstallString = uninstaller + L" " + QuietSwitch,
    };
}

std::uint64_t FileSize(const std::wstring& path) {
    native::File file(path, native::FileAccess::Read);
    return file.IsOpen() ? static_cast<std::uint64_t>(file.Size()) : 0;
}

}  // namespace

std::vector<std::wstring> MissingParentFolders(const std::wstring& folder) {
    std::vector<std::wstring> missing;
    for (std::wstring parent = ParentOf(folder); !parent.empty() && !native::DirectoryExists(parent);
         parent = ParentOf(parent)) {
        if (parent.back() == L':') break;  // a drive that is not there is no folder to create
        missing.push_back(parent);
    }
    return missing;
}

std::wstring RegisterInstallation(const InstallationFacts& facts, const std::wstring& uninstallerResource) {
    const std::wstring uninstaller = facts.folder + UninstallerName;
    const std::wstring recordPath = facts.folder + InstallRecordName;
    try {
        SaveResourceToFile(uninstallerResource, uninstaller);
        const InstallRecord record = RecordOf(facts);
        WriteInstallRecordFile(facts.folder, record);
        WriteUninstallEntry(facts.allUsers, EntryOf(facts, record, FileSize(uninstaller)));
        return UninstallEntryLocation(facts.allUsers, record.keyName);
    } catch (...) {
        const FailureCause cause = CurrentFailure(L"register the installation", facts.folder);
        ::DeleteFileW(recordPath.c_str());
        ::DeleteFileW(uninstaller.c_str());
        throw EStepFailed(cause);
    }
}

InstallRecord ReadInstallRecordFile(const std::wstring& folder) {
    const std::wstring path = folder + InstallRecordName;
    native::File file(path, native::FileAccess::Read);
    if (!file.IsOpen()) throw EPlatformError(L"Cannot open file \"" + path + L"\". " + file.ErrorText());
    const std::int64_t size = file.Size();
    // A record lists one payload; anything far larger is not one.
    if (size < 0 || size > 64 * 1024 * 1024) throw Exception(L"\"" + path + L"\" is not an installation record");
    std::string text(static_cast<std::size_t>(size), '\0');
    if (file.Read(text.data(), text.size()) != text.size()) throw EPlatformError(L"Cannot read \"" + path + L"\"");
    try {
        return ParseInstallRecord(text);
    } catch (const std::runtime_error&) {
        throw Exception(L"\"" + path + L"\" is not an installation record");
    }
}

void WriteInstallRecordFile(const std::wstring& folder, const InstallRecord& record) {
    const std::wstring path = folder + InstallRecordName;
    const std::string text = FormatInstallRecord(record);
    native::File file(path, native::FileAccess::Create);
    if (!file.IsOpen() || !file.Write(text.data(), text.size())) {
        throw EPlatformError(L"Cannot write file \"" + path + L"\". " + file.ErrorText());
    }
}
