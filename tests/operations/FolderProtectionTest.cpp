// The protection of an all-users folder outside the program files folders.
// Wine keeps no security descriptor with a file, so the descriptor is read
// here, through the platform's own accessors, as the folders get it.
#include "FolderProtection.h"

#include "WineSupport.h"
#include "unitFolders.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) { return ::IsWellKnownSid(sid, type); }

TEST(ProtectedFolderDescriptor, AdministratorsOwnAndChangeUsersReadAndRunNothingInherited) {
    std::vector<std::byte> descriptor = ProtectedFolderDescriptor();
    ASSERT_TRUE(::IsValidSecurityDescriptor(descriptor.data()));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(::GetSecurityDescriptorControl(descriptor.data(), &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    PSID owner = nullptr;
    BOOL defaulted = FALSE, present = FALSE;
    ASSERT_TRUE(::GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted));
    EXPECT_TRUE(IsWellKnown(owner, WinBuiltinAdministratorsSid));
    PACL dacl = nullptr;
    ASSERT_TRUE(::GetSecurityDescriptorDacl(descriptor.data(), &present, &dacl, &defaulted));
    ASSERT_TRUE(present && dacl);
    int full = 0, users = 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        ASSERT_TRUE(::GetAce(dacl, i, &entry));
        const auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        PSID sid = const_cast<DWORD*>(&ace->SidStart);
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_FALSE(ace->Header.AceFlags & INHERITED_ACE);
        if (IsWellKnown(sid, WinBuiltinAdministratorsSid) || IsWellKnown(sid, WinLocalSystemSid)) {
            EXPECT_EQ(ace->Mask, FILE_ALL_ACCESS);
            EXPECT_EQ(ace->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
            ++full;
        } else {
            // Users, and what else the program files folder grants: nothing that changes.
            EXPECT_EQ(ace->Mask & kChangeRights, 0u) << i;
            if (IsWellKnown(sid, WinBuiltinUsersSid)) {
                EXPECT_EQ(ace->Mask, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE);
                ++users;
            }
        }
    }
    EXPECT_EQ(full, 2);
    EXPECT_EQ(users, 1);
}

TEST(ProtectAllUsersFolder, MakesTheFolderAndItsMissingParentsAndLeavesProgramFilesAlone) {
    const TempFolder scratch;
    const std::wstring folder = scratch.path() + L"Apps\\Ketrova\\";
    EXPECT_TRUE(ProtectAllUsersFolder(folder));
    EXPECT_TRUE(native::DirectoryExists(folder));
    // Given again to a folder that is there, as an upgrade does.
    EXPECT_TRUE(ProtectAllUsersFolder(folder));
    for (const int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86}) {
        const std::wstring below = GetSpecialFolder(csidl) + L"\\Ketrova-protection\\";
        EXPECT_TRUE(IsBelowProgramFiles(below)) << csidl;
        EXPECT_TRUE(IsBelowProgramFiles(GetSpecialFolder(csidl)));
        EXPECT_FALSE(ProtectAllUsersFolder(below));
        EXPECT_FALSE(native::DirectoryExists(below));
        EXPECT_FALSE(IsBelowProgramFiles(GetSpecialFolder(csidl) + L"x\\Ketrova\\"));
    }
    EXPECT_FALSE(IsBelowProgramFiles(folder));
}

}  // namespace
