// Shell folders, long path names and the OneDrive refusal on Wine's real
// file system, with 8.3 names that the platform itself hands out.
#include "unitFolders.h"

#include "WineSupport.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cwchar>

namespace {

std::wstring Profile() {
    wchar_t profile[MAX_PATH + 1] = {};
    ::GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH + 1);
    return profile;
}

std::wstring ShortPath(const std::wstring& path) {
    wchar_t result[MAX_PATH + 1] = {};
    ::GetShortPathNameW(path.c_str(), result, MAX_PATH + 1);
    return result;
}

std::wstring PlatformLongPath(const std::wstring& path) {
    wchar_t result[MAX_PATH + 1] = {};
    ::GetLongPathNameW(path.c_str(), result, MAX_PATH + 1);
    return result;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

struct FolderCase {
    int csidl;
    const wchar_t* underProfile;  // nullptr: a folder of the machine
    const wchar_t* machinePath;
};

void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << "CSIDL" << c.csidl;
}

class SpecialFolder : public testing::TestWithParam<FolderCase> {};

TEST_P(SpecialFolder, IsTheShellsPathWithoutTrailingSeparator) {
    const FolderCase& c = GetParam();
    const std::wstring path = GetSpecialFolder(c.csidl);
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.back(), L'\\');
    EXPECT_EQ(path, c.underProfile ? Profile() + c.underProfile : std::wstring(c.machinePath));
}

INSTANTIATE_TEST_SUITE_P(Table, SpecialFolder, testing::Values(
    FolderCase{CSIDL_PROGRAMS, L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs", nullptr},
    FolderCase{CSIDL_DESKTOPDIRECTORY, L"\\Desktop", nullptr},
    FolderCase{CSIDL_COMMON_PROGRAMS, nullptr, L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
    FolderCase{CSIDL_COMMON_DESKTOPDIRECTORY, nullptr, L"C:\\users\\Public\\Desktop"},
    FolderCase{CSIDL_APPDATA, L"\\AppData\\Roaming", nullptr},
    // The 32-bit installer sees the 32-bit program files folder.
    FolderCase{CSIDL_PROGRAM_FILES, nullptr, sizeof(void*) == 4 ? L"C:\\Program Files (x86)" : L"C:\\Program Files"}));

TEST(SpecialFolder, IsEmptyWhenThePlatformHasNone) {
    EXPECT_EQ(GetSpecialFolder(0x7F), L"");
}

class LongPathOnDisk : public testing::Test {
protected:
    LongPathOnDisk() : long_(PlatformLongPath(scratch_.path()) + L"A Long Folder For Ketrova") {
        CreateFolders(long_);
    }

    TempFolder scratch_;
    std::wstring long_;
};

TEST_F(LongPathOnDisk, ExpandsTheShortNamesThatThePlatformGives) {
    const std::wstring shortName = ShortPath(long_);
    ASSERT_NE(shortName, long_) << "the platform gave no 8.3 name";
    EXPECT_EQ(GetLongPath(shortName + L"\\"), long_ + L"\\");
    EXPECT_EQ(GetLongPath(shortName), long_);
}

TEST_F(LongPathOnDisk, KeepsMissingComponentsAsTyped) {
    EXPECT_EQ(GetLongPath(ShortPath(long_) + L"\\Not There\\deeper\\"), long_ + L"\\Not There\\deeper\\");
}

TEST_F(LongPathOnDisk, GivesTheStoredCaseButKeepsTheDriveLetterAsTyped) {
    ASSERT_EQ(long_.substr(0, 2), L"C:");
    EXPECT_EQ(GetLongPath(Lower(long_) + L"\\"), L"c:" + long_.substr(2) + L"\\");
}

TEST(LongPath, LeavesABareDriveAlone) {
    EXPECT_EQ(GetLongPath(L"C:\\"), L"C:\\");
    EXPECT_EQ(GetLongPath(L"c:\\"), L"c:\\");
    EXPECT_EQ(ResolveLastComponent(L"C:\\"), L"C:\\");
    EXPECT_EQ(GetLongPath(L""), L"");
}

class OneDriveFolder : public testing::Test {
protected:
    TempFolder scratch_;
    CaughtMessages messages_;
};

TEST_F(OneDriveFolder, IsFoundThroughAShortName) {
    const std::wstring oneDrive = PlatformLongPath(scratch_.path()) + L"OneDrive - Contoso";
    CreateFolders(oneDrive);
    const std::wstring shortName = ShortPath(oneDrive);
    ASSERT_EQ(Lower(shortName).find(L"onedrive"), std::wstring::npos) << "the short name still says OneDrive";
    EXPECT_TRUE(IsOneDriveFolder(shortName + L"\\Ketrova\\2023\\"));
    EXPECT_TRUE(messages_.texts().empty());
}

// The operation only answers: the application tells the user.
TEST_F(OneDriveFolder, IsFoundInsideALongerNameSilently) {
    EXPECT_TRUE(IsOneDriveFolder(scratch_.path() + L"MyOneDriveStuff\\Ketrova\\"));
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(OneDriveFolder, AnOrdinaryFolderIsAcceptedSilently) {
    EXPECT_FALSE(IsOneDriveFolder(scratch_.path() + L"Ketrova\\"));
    EXPECT_TRUE(messages_.texts().empty());
}

}  // namespace
