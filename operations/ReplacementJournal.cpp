#include "ReplacementJournal.h"

#include "DeletionGuard.h"
#include "InstallRegistration.h"
#include "KeptBesideName.h"
#include "clUninstall.h"

#include <Exception.h>
#include <FileSystem.h>
#include <Handles.h>
#include <PayloadName.h>
#include <PlatformError.h>
#include <Utf8.h>
#include <ZipPaths.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

namespace {

constexpr char CommittedLine[] = "=\n";
// More attempts than this means something else is wrong; the file stays set aside.
constexpr int kMaxBesideAttempts = 100;

std::wstring JournalPath(const std::wstring& folder) { return zip::Combine(folder, ReplacementJournalName); }
std::wstring SetAsidePath(const std::wstring& folder, const std::wstring& name) {
    return zip::Combine(zip::Combine(folder, ReplacedFilesName), name);
}

DWORD AttributesOf(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }
bool Exists(const std::wstring& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

// The journal is done with: the files set aside go first, then the journal.
void RemoveJournal(const std::wstring& folder) {
    const std::wstring replaced = zip::Combine(folder, ReplacedFilesName);
    if (native::DirectoryExists(replaced)) DeleteFolder(replaced);
    ::DeleteFileW(JournalPath(folder).c_str());
}

win::UniqueFile OpenToRead(const std::wstring& path) {
    return win::UniqueFile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool SameContent(const std::wstring& first, const std::wstring& second) {
    const win::UniqueFile a = OpenToRead(first);
    const win::UniqueFile b = OpenToRead(second);
    if (!a || !b) return false;
    std::vector<char> pieceA(65536), pieceB(65536);
    for (;;) {
        DWORD readA = 0, readB = 0;
        if (!::ReadFile(a.get(), pieceA.data(), static_cast<DWORD>(pieceA.size()), &readA, nullptr) ||
            !::ReadFile(b.get(), pieceB.data(), static_cast<DWORD>(pieceB.size()), &readB, nullptr) ||
            readA != readB || std::memcmp(pieceA.data(), pieceB.data(), readA) != 0) {
            return false;
        }
        if (readA == 0) return true;
    }
}

// The files that a committed extraction replaced go, unless they may be
// somebody's: those that the folder's record does not list (the product's own)
// and that differ from their new file stay beside it under KeptBesideName.
// False when one could not be kept: the journal then stays for the next run.
bool KeepReplacedFiles(const std::wstring& folder, const std::vector<ReplacementJournal::Step>& steps) {
    std::set<std::wstring> recorded;
    if (native::FileExists(zip::Combine(folder, InstallRecordName))) {
        try {
            for (const auto& file : ReadInstallRecordFile(folder).files) recorded.insert(FolderKey(file));
        } catch (...) {
            // Unreadable: nothing counts as the product's, so everything different is kept.
        }
    }
    bool kept = true;
    for (const auto& step : steps) {
        const std::wstring aside = SetAsidePath(folder, step.name);
        if (step.change != ReplacementJournal::Change::Replaced || !native::FileExists(aside) ||
            recorded.contains(FolderKey(step.name)) || SameContent(aside, zip::Combine(folder, step.name))) {
            continue;
        }
        bool moved = false;
        for (int attempt = 1; attempt <= kMaxBesideAttempts && !moved; ++attempt) {
            const std::wstring beside = zip::Combine(folder, KeptBesideName(step.name, false, attempt));
            if (!Exists(beside)) moved = ::MoveFileExW(aside.c_str(), beside.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
        }
        kept = moved && kept;
    }
    return kept;
}

void RemoveFile(const std::wstring& path) {
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
}

// With flush, the journal's bytes reach the disk before anything it describes
// changes: needed only while it guards files set aside.
void WriteJournal(const std::wstring& path, const std::string& text, DWORD disposition, DWORD access, bool flush) {
    const win::UniqueFile file(
        ::CreateFileW(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size() || (flush && !::FlushFileBuffers(file.get()))) {
        throw Exception(L"Cannot write file \"" + path + L"\"");
    }
}

std::string ReadAll(const std::wstring& path) {
    const win::UniqueFile file = OpenToRead(path);
    std::string text;
    if (!file) return text;
    char piece[65536];
    DWORD n = 0;
    while (::ReadFile(file.get(), piece, sizeof piece, &n, nullptr) && n > 0) text.append(piece, n);
    return text;
}

// Every folder between the target folder and the name, shortest first.
std::vector<std::wstring> ParentFolders(const std::wstring& name) {
    std::vector<std::wstring> parents;
    for (auto slash = name.find(L'\\'); slash != std::wstring::npos; slash = name.find(L'\\', slash + 1)) {
        parents.push_back(name.substr(0, slash));
    }
    return parents;
}

}  // namespace

ReplacementJournal::ReplacementJournal(std::wstring folder, const TExtractionPlan& plan)
    : folder_(std::move(folder)) {
    std::set<std::wstring> folders;
    // Nothing is below a folder that is not there: no need to look.
    std::set<std::wstring> missing;
    auto inMissingFolder = [&](const std::wstring& name) {
        const auto slash = name.find_last_of(L'\\');
        return slash != std::wstring::npos && missing.contains(zip::FoldedPath(name.substr(0, slash)));
    };
    auto noteFolder = [&](const std::wstring& name) {
        const std::wstring folded = zip::FoldedPath(name);
        if (!folders.insert(folded).second) return;
        if (inMissingFolder(name) || !native::DirectoryExists(zip::Combine(folder_, name))) {
            missing.insert(folded);
            steps_.push_back({Change::FolderCreated, name});
        }
    };
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const TZipEntryPlan& entry = plan[i];
        std::wstring name = plan.Name(i);
        if (name.empty()) continue;
        if (entry.folder) name.pop_back();
        for (const auto& parent : ParentFolders(name)) noteFolder(parent);
        if (entry.folder) {
            noteFolder(name);
            continue;
        }
        const DWORD attributes = inMissingFolder(name) ? INVALID_FILE_ATTRIBUTES : AttributesOf(zip::Combine(folder_, name));
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            // A folder in a file's place stays and makes the extraction fail.
            steps_.push_back({Change::Created, name});
        } else if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            // Kept from replacing, as an extraction over it would be.
            throw EPlatformError(L"Cannot create file \"" + zip::Combine(folder_, name) + L"\". Access denied",
                                 ERROR_ACCESS_DENIED);
        } else {
            steps_.push_back({Change::Replaced, name});
        }
    }

    std::string text;
    for (const Step& step : steps_) {
        text += static_cast<char>(step.change);
        text += ' ' + WideToUtf8(step.name) + '\n';
    }
    WriteJournal(JournalPath(folder_), text, CREATE_ALWAYS, GENERIC_WRITE, SetsFilesAside());
    try {
        for (const Step& step : steps_) {
            if (step.change != Change::Replaced) continue;
            const std::wstring aside = SetAsidePath(folder_, step.name);
            native::CreateDirectories(aside.substr(0, aside.find_last_of(L'\\')));
            // A file open in another program cannot be moved; nor could it be replaced.
            if (!::MoveFileExW(zip::Combine(folder_, step.name).c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) {
                throw Exception(L"Cannot replace file \"" + zip::Combine(folder_, step.name) + L"\"");
            }
        }
    } catch (...) {
        RollBack(folder_, steps_);
        throw;
    }
}

bool ReplacementJournal::SetsFilesAside() const {
    return std::any_of(steps_.begin(), steps_.end(), [](const Step& step) { return step.change == Change::Replaced; });
}

ReplacementJournal::~ReplacementJournal() {
    if (!committed_) RollBack(folder_, steps_);
}

void ReplacementJournal::Commit() {
    WriteJournal(JournalPath(folder_), CommittedLine, OPEN_EXISTING, FILE_APPEND_DATA, SetsFilesAside());
    committed_ = true;
    if (KeepReplacedFiles(folder_, steps_)) RemoveJournal(folder_);
}

void ReplacementJournal::RollBack(const std::wstring& folder, const std::vector<Step>& steps) noexcept {
    bool restored = true;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        const std::wstring path = zip::Combine(folder, step->name);
        switch (step->change) {
        case Change::Replaced:
            if (const std::wstring aside = SetAsidePath(folder, step->name); Exists(aside)) {
                RemoveFile(path);
                restored = ::MoveFileExW(aside.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) && restored;
            }
            break;
        case Change::Created: RemoveFile(path); break;
        case Change::FolderCreated: ::RemoveDirectoryW(path.c_str()); break;
        }
    }
    if (restored) RemoveJournal(folder);
}

void ReplacementJournal::Recover(const std::wstring& folder) {
    const std::string text = ReadAll(JournalPath(folder));
    if (text.empty()) return;
    const bool committed = text.ends_with(CommittedLine) && (text.size() == 2 || text[text.size() - 3] == '\n');
    // Only names that stay inside the folder are acted on; a journal that
    // holds anything else is left alone.
    std::vector<Step> steps;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) break;  // cut short while written: nothing had changed yet
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (committed && start == text.size()) break;
        if (line.size() < 3 || line[1] != ' ') return;
        const std::wstring name = Utf8ToWide(line.substr(2));
        const auto change = static_cast<Change>(static_cast<wchar_t>(line[0]));
        if ((change != Change::Replaced && change != Change::Created && change != Change::FolderCreated) ||
            zip::ConfineEntryName(name) != name) {
            return;
        }
        steps.push_back({change, name});
    }
    if (!committed) {
        RollBack(folder, steps);
    } else if (KeepReplacedFiles(folder, steps)) {
        RemoveJournal(folder);
    }
}
