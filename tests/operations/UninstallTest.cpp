// Deleting the previous installation, and the guard that keeps the deletion
// away from everything that is not one.
#include "clUninstall.h"

#include "Uninstallation.h"
#include "WineSupport.h"
#include "unitFolders.h"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

// A previous installation: the product with its folders, a read-only and a
// hidden file.
void PlaceInstallation(const std::wstring& folder) {
    CreateFolders(folder + L"lib\\plugins");
    WriteTextFile(folder + L"Ketrova.exe", "MZ");
    WriteTextFile(folder + L"lib\\plugins\\Filtro.dll", "MZ");
    WriteTextFile(folder + L"lib\\readonly.dat", "data");
    WriteTextFile(folder + L"hidden.ini", "[x]");
    ::SetFileAttributesW((folder + L"lib\\readonly.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW((folder + L"hidden.ini").c_str(), FILE_ATTRIBUTE_HIDDEN);
}

class Uninstall : public testing::Test {
protected:
    TempFolder scratch_;
    CaughtMessages messages_;
};

TEST_F(Uninstall, AMissingFolderIsNoMatter) {
    DeleteFolder(scratch_.path() + L"Not Installed\\");
    EXPECT_FALSE(DirectoryExists(scratch_.path() + L"Not Installed"));
    EXPECT_TRUE(DirectoryExists(scratch_.path()));
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(Uninstall, RemovesAnEarlierInstallationWithEverythingInIt) {
    const std::wstring folder = scratch_.path() + L"Ketrova\\2023\\";
    PlaceInstallation(folder);
    WriteTextFile(scratch_.path() + L"beside.txt", "stays");

    DeleteFolder(folder);
    EXPECT_FALSE(DirectoryExists(folder));
    EXPECT_TRUE(DirectoryExists(scratch_.path() + L"Ketrova"));
    EXPECT_TRUE(FileExists(scratch_.path() + L"beside.txt"));
}

TEST_F(Uninstall, TheFolderMayAlsoComeWithoutItsSeparator) {
    const std::wstring folder = scratch_.path() + L"Ketrova";
    PlaceInstallation(folder + L"\\");
    DeleteFolder(folder);
    EXPECT_FALSE(DirectoryExists(folder));
}

// The uninstaller's removal: every recorded file, read-only and hidden ones
// too, or none while one is open in another program.
TEST_F(Uninstall, RecordedFilesGoAllTogetherOrNotAtAll) {
    const std::wstring folder = scratch_.path() + L"Ketrova\\";
    PlaceInstallation(folder);
    InstallRecord record;
    record.files = {L"Ketrova.exe", L"lib\\plugins\\Filtro.dll", L"lib\\readonly.dat", L"hidden.ini", L"gone.dll"};
    record.folders = FoldersOf(record.files, {});
    {
        const win::UniqueFile open(::CreateFileW((folder + L"lib\\plugins\\Filtro.dll").c_str(), GENERIC_READ, 0,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
        RecordedFiles files(record, folder);
        ASSERT_EQ(files.Refused().size(), 1u);
        EXPECT_EQ(files.Refused()[0].name, L"lib\\plugins\\Filtro.dll");
        EXPECT_FALSE(files.RemoveAll());
    }
    EXPECT_TRUE(FileExists(folder + L"Ketrova.exe"));
    EXPECT_TRUE(FileExists(folder + L"lib\\readonly.dat"));
    RecordedFiles files(record, folder);
    EXPECT_EQ(files.HeldCount(), 4u);
    EXPECT_TRUE(files.RemoveAll());
    EXPECT_FALSE(FileExists(folder + L"hidden.ini"));
    EXPECT_FALSE(DirectoryExists(folder + L"lib"));
}

class DeletionGuard : public testing::Test {
protected:
    TempFolder scratch_;
};

TEST_F(DeletionGuard, AllowsAFolderThatHoldsTheProduct) {
    const std::wstring folder = scratch_.path() + L"Ketrova\\2023\\";
    PlaceInstallation(folder);
    EXPECT_TRUE(MayDeleteInstallFolder(folder, L"Ketrova.exe"));
    EXPECT_TRUE(MayDeleteInstallFolder(scratch_.path() + L"Ketrova\\2023", L"KETROVA.EXE"));
}

TEST_F(DeletionGuard, KeepsAFolderOfSomeoneElsesDocuments) {
    const std::wstring folder = scratch_.path() + L"Documentos\\";
    CreateFolders(folder + L"Fotos");
    WriteTextFile(folder + L"Relatório.docx", "PK");
    WriteTextFile(folder + L"Fotos\\praia.jpg", "JFIF");
    EXPECT_FALSE(MayDeleteInstallFolder(folder, L"Ketrova.exe"));
    EXPECT_FALSE(MayDeleteInstallFolder(scratch_.path() + L"Missing\\", L"Ketrova.exe"));
}

TEST_F(DeletionGuard, WantsTheProductAsAFileNotAFolder) {
    const std::wstring folder = scratch_.path() + L"Odd\\";
    CreateFolders(folder + L"Ketrova.exe");
    EXPECT_FALSE(MayDeleteInstallFolder(folder, L"Ketrova.exe"));
}

struct GuardedFolder {
    const char* label;
    std::wstring (*folder)();
};

void PrintTo(const GuardedFolder& c, std::ostream* os) {
    *os << c.label;
}

class RefusedFolder : public testing::TestWithParam<GuardedFolder> {};

TEST_P(RefusedFolder, IsKeptEvenWhenItHoldsTheProduct) {
    const std::wstring folder = GetParam().folder();
    ASSERT_FALSE(folder.empty());
    const std::wstring withSeparator = folder.ends_with(L'\\') ? folder : folder + L"\\";
    const PlacedFile product(withSeparator + L"Ketrova.exe", "MZ");
    ASSERT_TRUE(FileExists(withSeparator + L"Ketrova.exe"));
    EXPECT_FALSE(MayDeleteInstallFolder(withSeparator, L"Ketrova.exe"));
}

std::wstring Lowered(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

INSTANTIATE_TEST_SUITE_P(Table, RefusedFolder, testing::Values(
    GuardedFolder{"DriveRoot", [] { return std::wstring(L"C:\\"); }},
    GuardedFolder{"Desktop", [] { return GetSpecialFolder(CSIDL_DESKTOPDIRECTORY); }},
    GuardedFolder{"DesktopInOtherCase", [] { return Lowered(GetSpecialFolder(CSIDL_DESKTOPDIRECTORY)) + L"\\"; }},
    GuardedFolder{"DesktopThroughDotDot",
                  [] { return GetSpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\Ketrova\\..\\"; }},
    GuardedFolder{"Profile", [] { return GetSpecialFolder(CSIDL_PROFILE); }},
    GuardedFolder{"Documents", [] { return GetSpecialFolder(CSIDL_PERSONAL); }},
    GuardedFolder{"RoamingAppData", [] { return GetSpecialFolder(CSIDL_APPDATA); }},
    GuardedFolder{"ProgramFiles", [] { return GetSpecialFolder(CSIDL_PROGRAM_FILES); }},
    GuardedFolder{"AllUsersDesktop", [] { return GetSpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY); }},
    GuardedFolder{"Users", [] { return GetSpecialFolder(CSIDL_PROFILE) + L"\\.."; }}));

TEST(DeletionGuardOfTheProposedFolder, AllowsTheProductsSubFolderOfProgramFiles) {
    const std::wstring folder = GetSpecialFolder(CSIDL_PROGRAM_FILES) + L"\\Ketrova Guard Test\\2023\\";
    CreateFolders(folder);
    {
        const PlacedFile product(folder + L"Ketrova.exe", "MZ");
        EXPECT_TRUE(MayDeleteInstallFolder(folder, L"Ketrova.exe"));
    }
    DeleteFolder(GetSpecialFolder(CSIDL_PROGRAM_FILES) + L"\\Ketrova Guard Test");
}

}  // namespace
