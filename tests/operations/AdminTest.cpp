// The Administrators-group test and the platform's messages for its failures.
#include "clAdminFunctions.h"

#include "PlatformError.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(IsUserAdmin, IsTrueForTheAdministratorThatWineRunsAs) {
    EXPECT_TRUE(IsUserAdmin());
}

TEST(SystemMessage, IsThePlatformsTextWithoutItsLineBreakAndFullStop) {
    const std::wstring text = SystemMessage(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'.');
    EXPECT_EQ(text.find(L"0x"), std::wstring::npos);
}

TEST(SystemMessage, NamesTheCodeWhenThePlatformHasNoText) {
    EXPECT_EQ(SystemMessage(0x2000BEEF), L"0x2000BEEF");
}

}  // namespace
