// An executable built without the payload: the missing resource, and the
// failure that InstallFromResource reports for it.
#include "Scratch.h"

#include <Exception.h>
#include <Failure.h>
#include <Messages.h>
#include <ResourceStream.h>
#include <clInstallFromResource.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace fs = std::filesystem;

namespace {

TEST(NoPayload, ResourceNotFoundNamesTheResourceAsAsked) {
    for (const wchar_t* name : {L"Programa", L"programa"}) {
        try {
            TResourceStream stream(name, RT_RCDATA);
            FAIL() << "this executable carries no payload";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), std::wstring(L"Resource ") + name + L" not found");
        }
    }
}

// The operation shows nothing: the application tells the user.
TEST(NoPayload, InstallFailsNamingTheMissingResourceAndMakesNoArchive) {
    ziptest::Scratch scratch;
    const std::wstring target = (scratch.root() / "Target").wstring() + L"\\";
    std::vector<std::wstring> shown;
    static std::vector<std::wstring>* sink = &shown;
    SetMessageSinkForTests([](const std::wstring& text) { sink->push_back(text); });
    try {
        InstallFromResource(L"Programa", target);
        ADD_FAILURE() << "this executable carries no payload";
    } catch (const EStepFailed& failed) {
        EXPECT_EQ(failed.Cause().text, L"Resource Programa not found");
        EXPECT_FALSE(failed.Cause().damagedInstaller);
    }
    SetMessageSinkForTests(nullptr);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_FALSE(fs::exists(target + L"Programa.zip"));
}

}  // namespace
