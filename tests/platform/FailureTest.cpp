#include "Failure.h"

#include "ExitCodes.h"

#include <gtest/gtest.h>

namespace {

struct CodeCase {
    const char* name;
    FailureCause cause;
    int exitCode;
};

class ExitCodeForTest : public testing::TestWithParam<CodeCase> {};

TEST_P(ExitCodeForTest, TellsTheToolWhatToDo) { EXPECT_EQ(ExitCodeFor(GetParam().cause), GetParam().exitCode); }

const CodeCase kCodeCases[] = {
    {"DiskFull", {.systemCode = 112}, kExitDiskFull},
    {"HandleDiskFull", {.systemCode = 39}, kExitDiskFull},
    {"SharingViolation", {.systemCode = 32}, kExitFileInUse},
    {"LockViolation", {.systemCode = 33}, kExitFileInUse},
    {"UserMappedFile", {.systemCode = 1224}, kExitFileInUse},
    {"AccessDenied", {.systemCode = 5}, kExitAccessDenied},
    {"WriteProtected", {.systemCode = 19}, kExitAccessDenied},
    {"AccessDeniedAsHresult", {.systemCode = 0x80070005UL}, kExitAccessDenied},
    {"DamagedPayloadWhateverTheCode", {.systemCode = 112, .damagedInstaller = true}, kExitDamagedInstaller},
    {"AnotherInstallationRunning", {.systemCode = 1618}, kExitInstallInProgress},
    {"PathNotFound", {.systemCode = 3}, kExitPayloadFailed},
    {"ClassNotRegistered", {.systemCode = 0x80040154UL}, kExitPayloadFailed},
    {"NoCode", {.text = L"Invalid characters in path"}, kExitPayloadFailed},
};

INSTANTIATE_TEST_SUITE_P(Cases, ExitCodeForTest, testing::ValuesIn(kCodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DescribeFailure, NamesStepPathTextAndCode) {
    EXPECT_EQ(DescribeFailure({.step = L"copy the payload", .path = L"Q:\\K\\Programa.zip", .systemCode = 3,
                               .text = L"The system cannot find the path specified"}),
              L"copy the payload \"Q:\\K\\Programa.zip\": The system cannot find the path specified (system error 3)");
    EXPECT_EQ(DescribeFailure(
                  {.step = L"make the shortcuts", .systemCode = 0x80040154UL, .text = L"Class not registered"}),
              L"make the shortcuts: Class not registered (system error 0x80040154)");
}

}  // namespace
