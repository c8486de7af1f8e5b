// The folders that must never be deleted as a previous installation.
#include "DeletionGuard.h"

#include "CaseText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::wstring> kShellFolders{
    L"C:\\users\\ana",
    L"C:\\users\\ana\\Desktop",
    L"C:\\users\\ana\\AppData\\Roaming",
    L"C:\\Program Files (x86)",
    L"C:\\windows",
    L"",  // a folder the platform does not have
};

struct GuardCase {
    const wchar_t* folder;
    bool isProtected;
};

void PrintTo(const GuardCase& c, std::ostream* os) {
    *os << CaseText(c.folder);
}

class Guard : public testing::TestWithParam<GuardCase> {};

TEST_P(Guard, ProtectsRootsAndShellFolders) {
    EXPECT_EQ(IsProtectedFolder(GetParam().folder, kShellFolders), GetParam().isProtected)
        << testing::PrintToString(std::wstring(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(Table, Guard, testing::Values(
    // Roots of drives and shares.
    GuardCase{L"C:\\", true},
    GuardCase{L"C:", true},
    GuardCase{L"d:\\\\", true},
    GuardCase{L"\\\\server\\share\\", true},
    GuardCase{L"\\\\server\\share", true},
    GuardCase{L"\\", true},
    GuardCase{L"", true},
    // The shell folders in any ASCII case, with or without separators.
    GuardCase{L"C:\\Users\\Ana\\Desktop\\", true},
    GuardCase{L"c:\\USERS\\ANA\\DESKTOP", true},
    GuardCase{L"C:\\users\\ana\\\\Desktop\\\\", true},
    GuardCase{L"C:/users/ana/Desktop/", true},
    GuardCase{L"C:\\Program Files (x86)\\", true},
    // Folders that hold a shell folder.
    GuardCase{L"C:\\users\\", true},
    GuardCase{L"C:\\users\\ana\\AppData\\", true},
    // Installation folders beside or below them.
    GuardCase{L"C:\\Program Files (x86)\\Ketrova\\2023\\", false},
    GuardCase{L"C:\\users\\ana\\AppData\\Roaming\\Ketrova\\", false},
    GuardCase{L"C:\\users\\ana\\Desktop\\Ketrova\\", false},
    GuardCase{L"C:\\users\\anabela\\", false},
    GuardCase{L"C:\\Program Files\\", false},
    GuardCase{L"\\\\server\\share\\Ketrova\\", false}));

TEST(FolderKey, FoldsOnlyAsciiLettersAndKeepsTheShareMark) {
    EXPECT_EQ(FolderKey(L"C:\\Pastas\\AÇÃO\\"), L"c:\\pastas\\aÇÃo");
    EXPECT_EQ(FolderKey(L"\\\\SERVER\\\\share\\"), L"\\\\server\\share");
}

}  // namespace
