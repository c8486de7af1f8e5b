#include "ApplicationTitle.h"
#include "FolderRules.h"

#include <gtest/gtest.h>

namespace {

TEST(EditionSwitch, OnlyExactlySimTurnsItOn) {
    EXPECT_TRUE(IsEditionSwitchOn(L"Sim"));
    for (const wchar_t* text : {L"sim", L"SIM", L"Sim ", L" Sim", L"Nao", L"", L"Si", L"Simm"}) {
        EXPECT_FALSE(IsEditionSwitchOn(text)) << "entry \"" << testing::PrintToString(std::wstring(text)) << "\"";
    }
}

TEST(SpecificFolder, JoinsNameYearAndRelease) {
    EXPECT_EQ(MakeSpecificFolder(L"Ketrova", L"2023", L"1"), L"\\Ketrova\\v2023r1\\");
}

struct RoamingCase {
    std::wstring path;
    std::wstring expected;
};

class RoamingToLocalTest : public testing::TestWithParam<RoamingCase> {};

TEST_P(RoamingToLocalTest, ReplacesTheFirstOccurrenceWithItsCase) {
    EXPECT_EQ(RoamingToLocal(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoamingToLocalTest,
    testing::Values(RoamingCase{L"C:\\Users\\Ana\\AppData\\Roaming", L"C:\\Users\\Ana\\AppData\\Local"},
                    RoamingCase{L"C:\\Users\\Roaming\\AppData\\Roaming", L"C:\\Users\\Local\\AppData\\Roaming"},
                    RoamingCase{L"\\\\server\\profiles\\ana\\data", L"\\\\server\\profiles\\ana\\data"},
                    RoamingCase{L"C:\\Users\\Ana\\AppData\\roaming", L"C:\\Users\\Ana\\AppData\\roaming"},
                    RoamingCase{L"C:\\ROAMING", L"C:\\ROAMING"}, RoamingCase{L"", L""}));

TEST(ProposedFolder, AllUsersGoUnderProgramFiles) {
    EXPECT_EQ(ProposedFolder(true, L"C:\\Program Files (x86)", L"C:\\Users\\Ana\\AppData\\Roaming",
                             L"\\Ketrova\\v2023r1\\"),
              L"C:\\Program Files (x86)\\Ketrova\\v2023r1\\");
}

TEST(ProposedFolder, OneUserGoesUnderLocalApplicationData) {
    EXPECT_EQ(ProposedFolder(false, L"C:\\Program Files", L"C:\\Users\\Ana\\AppData\\Roaming",
                             L"\\Ketrova\\v2023r1\\"),
              L"C:\\Users\\Ana\\AppData\\Local\\Ketrova\\v2023r1\\");
    EXPECT_EQ(ProposedFolder(false, L"", L"C:\\Users\\Roaming\\AppData\\Roaming", L"\\Ketrova\\v2023r1\\"),
              L"C:\\Users\\Local\\AppData\\Roaming\\Ketrova\\v2023r1\\");
    EXPECT_EQ(ProposedFolder(false, L"", L"D:\\Perfis\\Ana", L"\\Ketrova\\v2023r1\\"),
              L"D:\\Perfis\\Ana\\Ketrova\\v2023r1\\");
}

TEST(ProposedFolder, AMissingShellFolderLeavesTheSubFolderAlone) {
    EXPECT_EQ(ProposedFolder(true, L"", L"", L"\\Ketrova\\v2023r1\\"), L"\\Ketrova\\v2023r1\\");
    EXPECT_EQ(ProposedFolder(false, L"", L"", L"\\Ketrova\\v2023r1\\"), L"\\Ketrova\\v2023r1\\");
}

TEST(ApplicationTitle, EveryEditionIsNamedInstalador) {
    // The three editions share the file name, so their boxes share the title.
    for (const wchar_t* path : {L"C:\\build\\Instalador.exe", L"C:\\build\\editions\\full\\Instalador.exe",
                                L"C:\\build\\editions\\parcial\\INSTALADOR.EXE"}) {
        EXPECT_EQ(ApplicationTitleFromPath(path), L"Instalador");
    }
}

}  // namespace
