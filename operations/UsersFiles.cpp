#include "UsersFiles.h"

#include "DeletionGuard.h"
#include "KeptBesideName.h"

#include <Handles.h>
#include <PayloadName.h>

#include <windows.h>

#include <set>

namespace {

// More attempts than this means something else is wrong; the file stays.
constexpr int kMaxBesideAttempts = 100;

bool IsRealFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

class Carrier {
public:
    Carrier(const std::wstring& earlier, const InstallRecord& record, const std::wstring& folder)
        : earlier_(earlier), folder_(folder) {
        for (const auto& file : record.files) files_.insert(FolderKey(file));
        for (const auto& recorded : FoldersOf(record.files, record.folders)) folders_.insert(FolderKey(recorded));
        for (const wchar_t* own : {UninstallerName, InstallRecordName}) files_.insert(FolderKey(own));
    }

    // prefix: "" or a relative folder name ending with "\".
    void Carry(const std::wstring& prefix) {
        WIN32_FIND_DATAW found;
        const win::UniqueFind find(::FindFirstFileW((earlier_ + prefix + L"*").c_str(), &found));
        if (!find) {
            if (::GetLastError() != ERROR_FILE_NOT_FOUND) result_.complete = false;
            return;
        }
        do {
            const std::wstring name = prefix + found.cFileName;
            if (std::wstring_view(found.cFileName) == L"." || std::wstring_view(found.cFileName) == L"..") continue;
            const bool folder = IsRealFolder(found.dwFileAttributes);
            const std::wstring key = FolderKey(name);
            if (folder && (folders_.contains(key) || IsRealFolder(::GetFileAttributesW((folder_ + name).c_str())))) {
                // The product's folder, or one the new installation has too:
                // only what is inside may be the user's.
                Carry(name + L"\\");
            } else if (folder || !files_.contains(key)) {
                Move(name, folder);
            }
        } while (::FindNextFileW(find.get(), &found));
    }

    CarriedOver Result() const { return result_; }

private:
    // The folders above name in the new installation, made where missing.
    void MakeParents(const std::wstring& name) const {
        for (auto separator = name.find(L'\\'); separator != std::wstring::npos;
             separator = name.find(L'\\', separator + 1)) {
            ::CreateDirectoryW((folder_ + name.substr(0, separator)).c_str(), nullptr);
        }
    }

    void Move(const std::wstring& name, bool folder) {
        MakeParents(name);
        std::wstring target = name;
        for (int attempt = 1; ::GetFileAttributesW((folder_ + target).c_str()) != INVALID_FILE_ATTRIBUTES;
             ++attempt) {
            if (attempt > kMaxBesideAttempts) {
                result_.complete = false;
                return;
            }
            target = KeptBesideName(name, folder, attempt);
        }
        if (!::MoveFileExW((earlier_ + name).c_str(), (folder_ + target).c_str(), MOVEFILE_WRITE_THROUGH)) {
            result_.complete = false;
            return;
        }
        ++result_.moved;
        if (target != name) ++result_.beside;
    }

    const std::wstring& earlier_;
    const std::wstring& folder_;
    std::set<std::wstring> files_, folders_;
    CarriedOver result_;
};

}  // namespace

CarriedOver MoveUsersFiles(const std::wstring& earlier, const InstallRecord& record, const std::wstring& folder) {
    Carrier carrier(earlier, record, folder);
    carrier.Carry(L"");
    return carrier.Result();
}
