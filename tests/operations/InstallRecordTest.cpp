// The installation record: what the uninstaller trusts from a file in a
// folder that its user may write to.
#include "InstallRecord.h"

#include "KeptBesideName.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

TEST(InstallRecord, ComesBackAsWritten) {
    InstallRecord record;
    record.keyName = UninstallKeyName(L"Ketrova", L"C:\\Apps\\Ketrova\\");
    record.allUsers = true;
    record.displayName = L"Ketrova 2023 r1";
    record.exeName = L"Ketrova.exe";
    record.files = {L"Ketrova.exe", L"Códigos\\ação.dll"};
    record.folders = {L"Códigos"};
    record.shortcuts = {L"C:\\users\\Public\\Desktop\\Ketrova.lnk"};
    record.createdParents = {L"C:\\Apps"};
    const InstallRecord back = ParseInstallRecord(FormatInstallRecord(record));
    EXPECT_EQ(back.keyName, record.keyName);
    EXPECT_TRUE(back.allUsers);
    EXPECT_EQ(back.displayName, record.displayName);
    EXPECT_EQ(back.files, record.files);
    EXPECT_EQ(back.folders, record.folders);
    EXPECT_EQ(back.shortcuts, record.shortcuts);
    EXPECT_EQ(back.createdParents, record.createdParents);
}

TEST(InstallRecord, RefusesNamesThatLeaveTheFolder) {
    const std::string head = "Ketrova-instalacao 1\nkey=K_1\nscope=user\nexe=Ketrova.exe\n";
    EXPECT_NO_THROW(ParseInstallRecord(head + "file=a\\b.dll\n"));
    for (const char* line : {"file=..\\..\\Windows\\win.ini", "file=C:\\Windows\\win.ini", "file=\\Windows",
                             "file=a\\..\\..\\b", "folder=.", "file=a\\\\b", "file=a/../b", "file=x.dll:stream",
                             "exe=..\\x.exe", "exe=", "key=a\\b"}) {
        EXPECT_THROW(ParseInstallRecord(head + line + "\n"), std::runtime_error) << line;
    }
    EXPECT_THROW(ParseInstallRecord("something else\n"), std::runtime_error);
    EXPECT_THROW(ParseInstallRecord("Ketrova-instalacao 1\nexe=Ketrova.exe\n"), std::runtime_error);
    EXPECT_THROW(ParseInstallRecord("Ketrova-instalacao 1\nkey=K_1\nscope=user\n"), std::runtime_error);
}

TEST(InstallRecord, FoldersComeDeepestFirstAndOnce) {
    EXPECT_EQ(FoldersOf({L"a\\b\\c.dll", L"A\\x.dll", L"top.exe"}, {L"e", L"a\\b"}),
              (std::vector<std::wstring>{L"a\\b", L"e", L"a"}));
}

TEST(UninstallKey, OneFolderOneKeyTwoFoldersTwo) {
    const std::wstring key = UninstallKeyName(L"Ketrova", L"C:\\Apps\\Ketrova\\");
    EXPECT_EQ(key, UninstallKeyName(L"Ketrova", L"c:/apps/ketrova"));
    EXPECT_NE(key, UninstallKeyName(L"Ketrova", L"C:\\Apps\\Ketrova2\\"));
    // The key of a folder stays what earlier releases wrote, or an upgrade adds a second entry.
    EXPECT_EQ(key, L"Ketrova_a0492c990236980e");
    EXPECT_EQ(UninstallKeyName(L"A\\B", L"C:\\x").substr(0, 4), L"A_B_");
    EXPECT_EQ(EstimatedSizeKiB(1025), 2u);
    EXPECT_EQ(EstimatedSizeKiB(1ull << 50), 0xFFFFFFFFu);
}

TEST(EntryDisplayName, AFolderOutsideTheProposalsIsNamed) {
    const std::vector<std::wstring> proposals = {L"C:\\Program Files (x86)\\Ketrova\\v2023r1\\",
                                                 L"C:\\users\\ana\\AppData\\Local\\Ketrova\\v2023r1\\"};
    EXPECT_EQ(EntryDisplayName(L"Ketrova 2023 r1", L"c:\\program files (x86)\\ketrova\\v2023r1", proposals),
              L"Ketrova 2023 r1");
    EXPECT_EQ(EntryDisplayName(L"Ketrova 2023 r1", L"C:\\Apps\\Ketrova\\", proposals),
              L"Ketrova 2023 r1 (C:\\Apps\\Ketrova)");
    EXPECT_EQ(EntryDisplayName(L"Ketrova 2023 r1", L"D:\\", proposals), L"Ketrova 2023 r1 (D:\\)");
}

TEST(KeptBesideName, SaysWhoseFileItIs) {
    EXPECT_EQ(KeptBesideName(L"notas.txt", false, 1), L"notas (do usuário).txt");
    EXPECT_EQ(KeptBesideName(L"Charts\\ChartMaps.dll", false, 2), L"Charts\\ChartMaps (do usuário 2).dll");
    EXPECT_EQ(KeptBesideName(L"v1.2", true, 1), L"v1.2 (do usuário)");
    EXPECT_EQ(KeptBesideName(L"a.b\\.config", false, 1), L"a.b\\.config (do usuário)");
    EXPECT_EQ(KeptBesideName(L"a.b\\LEIAME", false, 1), L"a.b\\LEIAME (do usuário)");
}

}  // namespace
