#include "FolderProtection.h"

#include "DeletionGuard.h"
#include "EarlierInstallation.h"
#include "InstallRegistration.h"
#include "unitFolders.h"

#include <FileSystem.h>
#include <Failure.h>
#include <Handles.h>
#include <PlatformError.h>

#include <windows.h>
#include <aclapi.h>
#include <shlobj.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

// Rights that change a file, a folder or its security, granted or implied.
constexpr DWORD kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
constexpr BYTE kInherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

[[noreturn]] void Fail(const std::wstring& path, DWORD code, const wchar_t* step = L"protect the folder") {
    throw EStepFailed({.step = step, .path = path, .systemCode = code, .text = SystemMessage(code)});
}

struct Sid {
    std::array<BYTE, SECURITY_MAX_SID_SIZE> bytes{};
    PSID get() { return bytes.data(); }
};

Sid WellKnown(WELL_KNOWN_SID_TYPE type) {
    Sid sid;
    DWORD size = sid.bytes.size();
    if (!::CreateWellKnownSid(type, nullptr, sid.get(), &size)) Fail(L"", ::GetLastError());
    return sid;
}

struct Grant {
    Sid sid;
    DWORD rights;
    BYTE flags;
};

// What the program files folder grants besides Administrators, SYSTEM and
// Users, as long as it cannot change anything (the app container groups'
// read and execute on Windows); nothing when its DACL cannot be read.
void AddProgramFilesGrants(std::vector<Grant>& grants) {
    std::wstring programFiles = GetSpecialFolder(CSIDL_PROGRAM_FILES);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (programFiles.empty() || ::GetNamedSecurityInfoW(programFiles.c_str(), SE_FILE_OBJECT,
                                                        DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                                                        &descriptor) != ERROR_SUCCESS) {
        return;
    }
    const win::UniqueLocal<void> owned(descriptor);
    const std::size_t own = grants.size();
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (!::GetAce(dacl, i, &entry)) continue;
        const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        if (allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE || (allowed->Mask & kChangeRights)) continue;
        auto* sid = const_cast<DWORD*>(&allowed->SidStart);
        bool known = false;
        for (std::size_t g = 0; g < own; ++g) known = known || ::EqualSid(grants[g].sid.get(), sid);
        if (known) continue;
        Grant grant{.rights = allowed->Mask,
                    .flags = static_cast<BYTE>(allowed->Header.AceFlags & VALID_INHERIT_FLAGS & ~INHERITED_ACE)};
        if (::CopySid(grant.sid.bytes.size(), grant.sid.get(), sid)) grants.push_back(grant);
    }
}

// The protected DACL, aligned as an ACL must be.
std::vector<std::uint64_t> ProtectedAcl(Sid& administrators) {
    std::vector<Grant> grants{{administrators, FILE_ALL_ACCESS, kInherited},
                              {WellKnown(WinLocalSystemSid), FILE_ALL_ACCESS, kInherited},
                              {WellKnown(WinBuiltinUsersSid), FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, kInherited}};
    AddProgramFilesGrants(grants);
    std::size_t size = sizeof(ACL);
    for (auto& grant : grants) size += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + ::GetLengthSid(grant.sid.get());
    std::vector<std::uint64_t> acl((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    const auto list = reinterpret_cast<PACL>(acl.data());
    if (!::InitializeAcl(list, static_cast<DWORD>(acl.size() * sizeof(std::uint64_t)), ACL_REVISION)) {
        Fail(L"", ::GetLastError());
    }
    for (auto& grant : grants) {
        if (!::AddAccessAllowedAceEx(list, ACL_REVISION, grant.flags, grant.rights, grant.sid.get())) {
            Fail(L"", ::GetLastError());
        }
    }
    return acl;
}

// Made with the descriptor, or given it when it is there already.
void Protect(const std::wstring& folder, std::vector<std::byte>& descriptor) {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.data(), FALSE};
    if (::CreateDirectoryW(folder.c_str(), &attributes)) return;
    // Told as the extraction would tell it: a drive that is not there, a read-only volume.
    if (const DWORD code = ::GetLastError(); code != ERROR_ALREADY_EXISTS) Fail(folder, code, L"make the folder");
    PSID owner = nullptr;
    PACL dacl = nullptr;
    BOOL present = FALSE, defaulted = FALSE;
    ::GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted);
    ::GetSecurityDescriptorDacl(descriptor.data(), &present, &dacl, &defaulted);
    std::wstring path = folder;
    while (path.size() > 3 && path.ends_with(L'\\')) path.pop_back();
    const DWORD code = ::SetNamedSecurityInfoW(
        path.data(), SE_FILE_OBJECT,
        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, owner, nullptr,
        dacl, nullptr);
    if (code != ERROR_SUCCESS) Fail(folder, code);
}

bool IsSameOrBelow(const std::wstring& key, const std::wstring& base) {
    const std::wstring baseKey = FolderKey(base);
    return !base.empty() && (key == baseKey || key.starts_with(baseKey + L"\\"));
}

}  // namespace

bool IsBelowProgramFiles(const std::wstring& folder) {
    const std::wstring key = FolderKey(GetLongPath(folder));
    // A 32-bit process on 64-bit Windows is shown the 32-bit folder for both
    // numbers; the 64-bit one it finds in the environment.
    wchar_t native64[MAX_PATH + 1] = L"";
    const DWORD length = ::GetEnvironmentVariableW(L"ProgramW6432", native64, MAX_PATH + 1);
    return IsSameOrBelow(key, GetSpecialFolder(CSIDL_PROGRAM_FILES)) ||
           IsSameOrBelow(key, GetSpecialFolder(CSIDL_PROGRAM_FILESX86)) ||
           (length > 0 && length <= MAX_PATH && IsSameOrBelow(key, GetLongPath(native64)));
}

std::vector<std::byte> ProtectedFolderDescriptor() {
    Sid administrators = WellKnown(WinBuiltinAdministratorsSid);
    std::vector<std::uint64_t> acl = ProtectedAcl(administrators);
    SECURITY_DESCRIPTOR absolute{};
    if (!::InitializeSecurityDescriptor(&absolute, SECURITY_DESCRIPTOR_REVISION) ||
        !::SetSecurityDescriptorOwner(&absolute, administrators.get(), FALSE) ||
        !::SetSecurityDescriptorDacl(&absolute, TRUE, reinterpret_cast<PACL>(acl.data()), FALSE) ||
        !::SetSecurityDescriptorControl(&absolute, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
        Fail(L"", ::GetLastError());
    }
    DWORD size = 0;
    ::MakeSelfRelativeSD(&absolute, nullptr, &size);
    std::vector<std::byte> descriptor(size);
    if (!::MakeSelfRelativeSD(&absolute, descriptor.data(), &size)) Fail(L"", ::GetLastError());
    return descriptor;
}

bool ProtectAllUsersFolder(const std::wstring& folder) {
    if (IsBelowProgramFiles(folder)) return false;
    std::vector<std::byte> descriptor = ProtectedFolderDescriptor();
    const std::vector<std::wstring> parents = MissingParentFolders(folder);
    for (auto parent = parents.rbegin(); parent != parents.rend(); ++parent) Protect(*parent, descriptor);
    Protect(folder, descriptor);
    if (const std::wstring aside = SetAsidePath(folder); native::DirectoryExists(aside)) Protect(aside, descriptor);
    return true;
}
