// Running instances of the product: real copies of the sample product under
// several names, found and ended by their executable's name.
#include "clCloseActiveInstance.h"

#include "WineSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

class RunningInstances : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(ProcessExists(L"Ketrova.exe")) << "a product from elsewhere still runs"; }

    void TearDown() override {
        for (const auto& process : processes_) EndProcess(process.get());
    }

    // Copies the product to folder\name, starts it and waits for its window.
    HANDLE start(const std::wstring& name) {
        const std::wstring folder = scratch_.path() + std::to_wstring(processes_.size()) + L"\\";
        CreateFolders(folder);
        const std::wstring exe = folder + name;
        std::filesystem::copy_file(ProductExe(), exe);
        processes_.push_back(StartProcess(exe));
        EXPECT_TRUE(WaitUntil([&] { return FindProductWindow(exe) != nullptr; }, 10000)) << "no window from a copy";
        return processes_.back().get();
    }

    static bool hasEnded(HANDLE process) { return ::WaitForSingleObject(process, 5000) == WAIT_OBJECT_0; }

private:
    TempFolder scratch_;
    std::vector<win::UniqueHandle> processes_;
};

TEST_F(RunningInstances, NoneRunningIsFalseEverywhereAndTheShutdownReturnsAtOnce) {
    EXPECT_FALSE(ProcessExists(L"Ketrova.exe"));
    EXPECT_FALSE(KillProcess(L"Ketrova.exe"));
    const ULONGLONG before = ::GetTickCount64();
    CloseRunningInstances(L"Ketrova.exe");
    EXPECT_LT(::GetTickCount64() - before, 1000u);
}

TEST_F(RunningInstances, OneKillEndsEveryCopyWhateverTheAsciiCaseOfItsName) {
    const HANDLE first = start(L"Ketrova.exe");
    const HANDLE second = start(L"KETROVA.EXE");
    EXPECT_TRUE(ProcessExists(L"Ketrova.exe"));
    EXPECT_TRUE(ProcessExists(L"kEtRoVa.ExE"));

    EXPECT_TRUE(KillProcess(L"Ketrova.exe"));
    ASSERT_TRUE(hasEnded(first));
    ASSERT_TRUE(hasEnded(second));
    DWORD exitCode = 1;
    ::GetExitCodeProcess(first, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(WaitUntil([] { return !ProcessExists(L"Ketrova.exe"); }, 2000));
}

TEST_F(RunningInstances, NamesThatOnlyBeginOrEndWithTheNameAreLeftRunning) {
    const HANDLE longer = start(L"Ketrova.exe.exe");
    const HANDLE prefixed = start(L"OldKetrova.exe");
    EXPECT_FALSE(ProcessExists(L"Ketrova.exe"));
    EXPECT_FALSE(KillProcess(L"Ketrova.exe"));
    CloseRunningInstances(L"Ketrova.exe");
    EXPECT_EQ(::WaitForSingleObject(longer, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(::WaitForSingleObject(prefixed, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(ProcessExists(L"Ketrova.exe.exe"));
}

TEST_F(RunningInstances, AccentedLettersMatchOnlyInTheirOwnCase) {
    const HANDLE accented = start(L"\u00C9Ketrova.exe");
    EXPECT_TRUE(ProcessExists(L"\u00C9KETROVA.EXE"));
    EXPECT_FALSE(ProcessExists(L"\u00E9ketrova.exe"));
    EXPECT_FALSE(KillProcess(L"\u00E9ketrova.exe"));
    EXPECT_EQ(::WaitForSingleObject(accented, 200), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(RunningInstances, TheShutdownLoopLeavesNoCopyListed) {
    const HANDLE first = start(L"Ketrova.exe");
    const HANDLE second = start(L"ketrova.exe");
    const ULONGLONG before = ::GetTickCount64();
    CloseRunningInstances(L"Ketrova.exe");
    EXPECT_LT(::GetTickCount64() - before, 5000u);
    EXPECT_FALSE(ProcessExists(L"Ketrova.exe"));
    EXPECT_TRUE(hasEnded(first));
    EXPECT_TRUE(hasEnded(second));
}

}  // namespace
