// Starting the installed product through a temporary link beside it: what is
// asked of the shell, and a real start of the sample product.
#include "clIndirectRunExternalPrograma.h"

#include "CaseText.h"
#include "IndirectLaunch.h"
#include "ShellLinkReader.h"
#include "WineSupport.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct ShellRequest {
    std::wstring verb;
    std::wstring file;
    bool noParameters = false;
    bool noDirectory = false;
    int showCommand = -1;
    HWND owner = nullptr;
    LinkFields linkAtThatMoment;
};

ShellRequest lastRequest;

HINSTANCE WINAPI RecordRequest(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                               INT showCommand) {
    lastRequest = {verb, file, parameters == nullptr, directory == nullptr, showCommand, owner, ReadLink(file)};
    return reinterpret_cast<HINSTANCE>(42);
}

class IndirectRun : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        folder_ = scratch_.path() + L"Ketrova Run\\";
        CreateFolders(folder_);
        exe_ = folder_ + L"Ketrova.exe";
        std::filesystem::copy_file(ProductExe(), exe_);
    }

    void TearDown() override {
        if (started_) {
            DWORD processId = 0;
            ::GetWindowThreadProcessId(started_, &processId);
            const win::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
            EndProcess(process.get());
        }
        ::CoUninitialize();
    }

    TempFolder scratch_;
    std::wstring folder_;
    std::wstring exe_;
    HWND started_ = nullptr;
};

TEST_F(IndirectRun, AsksTheShellToOpenTheFirstRunLinkMaximised) {
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    RunIndirectWith(exe_, owner, RecordRequest);

    EXPECT_EQ(lastRequest.verb, L"open");
    EXPECT_EQ(lastRequest.file, folder_ + L"Ketrova.lnk");
    EXPECT_TRUE(lastRequest.noParameters);
    EXPECT_TRUE(lastRequest.noDirectory);
    EXPECT_EQ(lastRequest.showCommand, SW_SHOWMAXIMIZED);
    EXPECT_EQ(lastRequest.owner, owner);
    ASSERT_TRUE(lastRequest.linkAtThatMoment.loaded) << "the link was not there when the shell was asked";
    EXPECT_EQ(lastRequest.linkAtThatMoment.path, exe_);
    EXPECT_EQ(lastRequest.linkAtThatMoment.description, L"FirstRun");
    EXPECT_EQ(lastRequest.linkAtThatMoment.workingDirectory, folder_);
    EXPECT_FALSE(FileExists(folder_ + L"Ketrova.lnk"));
}

TEST_F(IndirectRun, StartsTheProductInItsOwnFolderAndLeavesNoLink) {
    RunIndirect(exe_);
    EXPECT_FALSE(FileExists(folder_ + L"Ketrova.lnk"));
    ASSERT_TRUE(WaitUntil([&] { return (started_ = FindProductWindow(exe_)) != nullptr; }, 10000))
        << "the product did not start";
    // The product reports its working folder without the trailing separator.
    EXPECT_EQ(TitleField(started_, L"cwd") + L"\\", folder_);
    RecordProperty("show", CaseText(TitleField(started_, L"show")));
}

TEST_F(IndirectRun, ANameWithoutTheProductStartsNothingAndReportsNothing) {
    CaughtMessages messages;
    RunIndirect(folder_ + L"Missing.exe");
    EXPECT_FALSE(FileExists(folder_ + L"Missing.lnk"));
    EXPECT_TRUE(messages.texts().empty());
}

}  // namespace
