// The product's shortcuts, written by the platform's shell link object into
// Wine's real shell folders and read back through it.
#include "clCreateShortcut.h"

#include "CaseText.h"
#include "Failure.h"
#include "PlatformError.h"
#include "ShellLinkReader.h"
#include "WineSupport.h"
#include "unitFolders.h"

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace {

std::wstring LinkIn(int csidl) {
    return GetSpecialFolder(csidl) + L"\\Ketrova.lnk";
}

const int kShortcutFolders[] = {CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_PROGRAMS,
                                CSIDL_COMMON_DESKTOPDIRECTORY};

class Shortcuts : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        removeLinks();
        program_ = scratch_.path() + L"Ketrova\\2023\\";
        CreateFolders(program_);
        WriteTextFile(program_ + L"Ketrova.exe", "MZ");
    }

    void TearDown() override {
        removeLinks();
        ::CoUninitialize();
    }

    static void removeLinks() {
        for (const int csidl : kShortcutFolders) ::DeleteFileW(LinkIn(csidl).c_str());
    }

    // An older link of another description, to see whether it is replaced.
    static void placeOldLink(int csidl) {
        CreateLink(GetSpecialFolder(csidl), L"C:\\Old\\Ketrova.exe", L"Old");
        ASSERT_EQ(ReadLink(LinkIn(csidl)).description, L"Old");
    }

    void expectProductLink(int csidl) const {
        const LinkFields link = ReadLink(LinkIn(csidl));
        ASSERT_TRUE(link.loaded) << "no link in CSIDL " << csidl;
        EXPECT_EQ(link.path, program_ + L"Ketrova.exe");
        EXPECT_EQ(link.description, L"Ketrova.exe");
        EXPECT_EQ(link.workingDirectory, program_);
        EXPECT_EQ(link.arguments, L"");
    }

    TempFolder scratch_;
    CaughtMessages messages_;
    std::wstring program_;
};

TEST_F(Shortcuts, CreateLinkWritesTargetDescriptionAndWorkingFolder) {
    CreateLink(scratch_.path(), program_ + L"Ketrova.exe", L"FirstRun");
    // The separator is always inserted: folder\\Ketrova.lnk names the same file.
    const LinkFields link = ReadLink(scratch_.path() + L"Ketrova.lnk");
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ(link.path, program_ + L"Ketrova.exe");
    EXPECT_EQ(link.description, L"FirstRun");
    EXPECT_EQ(link.workingDirectory, program_);
    EXPECT_EQ(link.arguments, L"");
}

TEST_F(Shortcuts, AProgramWithoutExtensionGetsLnkAppended) {
    WriteTextFile(program_ + L"Ketrova", "MZ");
    CreateLink(scratch_.path().substr(0, scratch_.path().size() - 1), program_ + L"Ketrova", L"Ketrova");
    EXPECT_TRUE(ReadLink(scratch_.path() + L"Ketrova.lnk").loaded);
}

TEST_F(Shortcuts, ForTheCurrentUserGoToItsStartMenuAndDesktop) {
    EXPECT_NO_THROW(CreateShortcuts(L"Ketrova.exe", program_, false, true, true));
    expectProductLink(CSIDL_PROGRAMS);
    expectProductLink(CSIDL_DESKTOPDIRECTORY);
    EXPECT_FALSE(FileExists(LinkIn(CSIDL_COMMON_PROGRAMS)));
    EXPECT_FALSE(FileExists(LinkIn(CSIDL_COMMON_DESKTOPDIRECTORY)));
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(Shortcuts, ForAllUsersReplaceTheCurrentUsersOneOfTheSameKind) {
    placeOldLink(CSIDL_PROGRAMS);
    placeOldLink(CSIDL_COMMON_PROGRAMS);
    placeOldLink(CSIDL_DESKTOPDIRECTORY);

    EXPECT_NO_THROW(CreateShortcuts(L"Ketrova.exe", program_, true, true, false));
    expectProductLink(CSIDL_COMMON_PROGRAMS);
    EXPECT_FALSE(FileExists(LinkIn(CSIDL_PROGRAMS)));
    // The desktops were not asked for.
    EXPECT_EQ(ReadLink(LinkIn(CSIDL_DESKTOPDIRECTORY)).description, L"Old");
    EXPECT_FALSE(FileExists(LinkIn(CSIDL_COMMON_DESKTOPDIRECTORY)));
}

TEST_F(Shortcuts, ForTheCurrentUserLeaveTheAllUsersOneAlone) {
    placeOldLink(CSIDL_COMMON_DESKTOPDIRECTORY);
    placeOldLink(CSIDL_DESKTOPDIRECTORY);

    EXPECT_NO_THROW(CreateShortcuts(L"Ketrova.exe", program_, false, false, true));
    expectProductLink(CSIDL_DESKTOPDIRECTORY);
    EXPECT_EQ(ReadLink(LinkIn(CSIDL_COMMON_DESKTOPDIRECTORY)).description, L"Old");
    EXPECT_FALSE(FileExists(LinkIn(CSIDL_PROGRAMS)));
}

TEST_F(Shortcuts, NeitherKindAskedForTouchesNothing) {
    placeOldLink(CSIDL_PROGRAMS);
    placeOldLink(CSIDL_COMMON_DESKTOPDIRECTORY);

    for (const bool allUsers : {false, true}) EXPECT_NO_THROW(CreateShortcuts(L"Ketrova.exe", program_, allUsers, false, false));
    EXPECT_EQ(ReadLink(LinkIn(CSIDL_PROGRAMS)).description, L"Old");
    EXPECT_EQ(ReadLink(LinkIn(CSIDL_COMMON_DESKTOPDIRECTORY)).description, L"Old");
    EXPECT_FALSE(FileExists(LinkIn(CSIDL_DESKTOPDIRECTORY)));
    EXPECT_FALSE(FileExists(LinkIn(CSIDL_COMMON_PROGRAMS)));
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(Shortcuts, LiveInTheFoldersOfTheirKind) {
    EXPECT_EQ(ShortcutFolder(false, skDesktop), GetSpecialFolder(CSIDL_DESKTOPDIRECTORY));
    EXPECT_EQ(ShortcutFolder(false, skStartMenu), GetSpecialFolder(CSIDL_PROGRAMS));
    EXPECT_EQ(ShortcutFolder(true, skDesktop), GetSpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY));
    EXPECT_EQ(ShortcutFolder(true, skStartMenu), GetSpecialFolder(CSIDL_COMMON_PROGRAMS));
}

// A thread that never initialised COM cannot create the link object: the
// failure every shortcut step must survive. The operation shows nothing; its
// failure names the first shortcut and carries the platform's code.
TEST_F(Shortcuts, AFailureIsReportedToTheCallerWithItsCause) {
    std::optional<FailureCause> cause;
    std::wstring error;
    std::thread withoutCom([&] {
        try {
            CreateShortcuts(L"Ketrova.exe", program_, false, true, true);
        } catch (const EStepFailed& failed) {
            cause = failed.Cause();
        }
        try {
            CreateLink(scratch_.path(), program_ + L"Ketrova.exe", L"Ketrova.exe");
        } catch (const EPlatformError& e) {
            error = e.Message();
        }
    });
    withoutCom.join();

    ASSERT_TRUE(cause);
    EXPECT_EQ(cause->path, LinkIn(CSIDL_PROGRAMS));
    EXPECT_NE(cause->systemCode, 0u);
    EXPECT_TRUE(messages_.texts().empty());
    EXPECT_FALSE(FileExists(LinkIn(CSIDL_DESKTOPDIRECTORY)));
    EXPECT_TRUE(error.ends_with(L", ClassID: {00021401-0000-0000-C000-000000000046}")) << CaseText(error);
    EXPECT_GT(error.size(), std::wstring(L", ClassID: {00021401-0000-0000-C000-000000000046}").size());
}

}  // namespace
