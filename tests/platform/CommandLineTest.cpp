#include "CommandLine.h"

#include "Utf8.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* name;
    std::wstring commandLine;
    std::vector<std::wstring> arguments;  // after the program's path
};

class CommandLineArgumentsTest : public testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineArgumentsTest, SplitsLikeTheInstaller) {
    EXPECT_EQ(CommandLineArguments(GetParam().commandLine), GetParam().arguments);
}

const SplitCase kSplitCases[] = {
    {"NoArgument", L"\"C:\\Setup\\Instalador.exe\"", {}},
    {"TrailingBlanks", L"\"C:\\Setup\\Instalador.exe\"  \t ", {}},
    {"EmptyQuotesAloneAreSkipped", L"\"C:\\Setup\\Instalador.exe\" \"\"", {}},
    {"SeveralEmptyQuotesAreSkipped", L"Instalador.exe \"\"\"\" \"\" ", {}},
    {"QuotedFolderKeepsItsBackslash", L"Instalador.exe \"C:\\Program Files\\Target\\\"",
     {L"C:\\Program Files\\Target\\"}},
    {"BackslashDoesNotEscapeTheQuote", L"Instalador.exe \"D:\\A\\\" next", {L"D:\\A\\", L"next"}},
    {"TwoArguments", L"Instalador.exe D:\\Apps\\Target\\ extra", {L"D:\\Apps\\Target\\", L"extra"}},
    {"NoTrailingBackslash", L"Instalador.exe D:\\Apps\\Target", {L"D:\\Apps\\Target"}},
    {"QuotedRunInsideAnArgument", L"x a\"b c\"d", {L"ab cd"}},
    {"UnclosedQuoteRunsToTheEnd", L"x \"C:\\Target dir", {L"C:\\Target dir"}},
    {"EmptyQuotesBeforeAnArgument", L"x \"\"C:\\T\\", {L"C:\\T\\"}},
    {"ControlCharactersSeparate", L"x\x01" L"a\x1F" L"b", {L"a", L"b"}},
    {"LoneQuoteAtTheEndStopsCounting", L"x a \"", {L"a"}},
    {"EmptyText", L"", {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineArgumentsTest, testing::ValuesIn(kSplitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SplitCommandLine, TheProgramPathComesFirstAndIsNotAnArgument) {
    const auto all = SplitCommandLine(L"\"C:\\Program Files\\Setup\\Instalador.exe\" D:\\T\\");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0], L"C:\\Program Files\\Setup\\Instalador.exe");
    EXPECT_EQ(all[1], L"D:\\T\\");
}

using Road = Invocation::Road;

struct SwitchCase {
    const char* name;
    std::vector<std::wstring> arguments;
    Road road;
    std::wstring folder = {};
    bool quiet = false, noRun = false, log = false;
    std::wstring logFile = {};
};

class InstallerSwitchesTest : public testing::TestWithParam<SwitchCase> {};

TEST_P(InstallerSwitchesTest, ReadsLikeDeploymentToolsExpect) {
    const SwitchCase& c = GetParam();
    const Invocation read = ReadInstallerCommandLine(c.arguments);
    EXPECT_EQ(read.road, c.road) << WideToUtf8(read.refusal);
    if (c.road == Road::Refused) {
        EXPECT_FALSE(read.refusal.empty());
        return;
    }
    EXPECT_EQ(read.folder, c.folder);
    EXPECT_EQ(read.quiet, c.quiet);
    EXPECT_EQ(read.noRun, c.noRun);
    EXPECT_EQ(read.log, c.log);
    EXPECT_EQ(read.logFile, c.logFile);
}

const SwitchCase kSwitchCases[] = {
    {"NoArgumentIsInteractive", {}, Road::Interactive},
    {"AFolderAloneAsAlways", {L"C:\\Apps\\K\\"}, Road::Unattended, L"C:\\Apps\\K\\"},
    {"LaterNonSwitchesAreIgnored", {L"C:\\A\\", L"C:\\B\\"}, Road::Unattended, L"C:\\A\\"},
    {"FolderThenSwitches", {L"C:\\A\\", L"/QUIET", L"-NoRun", L"/log=C:\\l.log"}, Road::Unattended,
     L"C:\\A\\", true, true, true, L"C:\\l.log"},
    {"QuietAloneTakesTheProposal", {L"/quiet"}, Road::Unattended, L"", true},
    {"DirWithSpaces", {L"/quiet", L"/dir=C:\\Program Files\\K\\"}, Road::Unattended,
     L"C:\\Program Files\\K\\", true},
    {"LogWithoutFile", {L"/log"}, Road::Unattended, L"", false, false, true},
    {"SameSwitchTwiceSameValue", {L"/quiet", L"/Quiet"}, Road::Unattended, L"", true},
    {"AUnixLikeFolderIsNoSwitch", {L"/Apps/K/"}, Road::Unattended, L"/Apps/K/"},
    {"SlashBeforeEqualsIsNoSwitch", {L"-a\\b=c"}, Road::Unattended, L"-a\\b=c"},
    {"QuestionMark", {L"/?"}, Road::Usage},
    {"HelpAfterAFolder", {L"C:\\A\\", L"-HELP"}, Road::Usage, L"C:\\A\\"},
    {"OtherInstallersSilentSwitch", {L"/S"}, Road::Refused},
    {"DashS", {L"-s"}, Road::Refused},
    {"VerySilentWithItsFriends", {L"/VERYSILENT", L"/SUPPRESSMSGBOXES", L"/LOG=C:\\k.log"}, Road::Refused},
    {"UnknownSwitchAfterAFolder", {L"C:\\A\\", L"/passive"}, Road::Refused},
    {"DirBesideAFolder", {L"C:\\A\\", L"/dir=C:\\B\\"}, Road::Refused},
    {"DirWithoutValue", {L"/dir"}, Road::Refused},
    {"LogTwiceDifferently", {L"/log=a.log", L"/log=b.log"}, Road::Refused},
    {"QuietWithAValue", {L"/quiet=yes"}, Road::Refused},
    {"RefusalWinsOverHelp", {L"/?", L"/S"}, Road::Refused},
};

INSTANTIATE_TEST_SUITE_P(Cases, InstallerSwitchesTest, testing::ValuesIn(kSwitchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UninstallerSwitches, TakeNoFolderAndNoInstallerSwitch) {
    EXPECT_EQ(ReadUninstallerCommandLine({}).road, Road::Interactive);
    const Invocation quiet = ReadUninstallerCommandLine({L"/quiet", L"/log=C:\\u.log"});
    EXPECT_TRUE(quiet.quiet);
    EXPECT_EQ(quiet.logFile, L"C:\\u.log");
    EXPECT_EQ(ReadUninstallerCommandLine({L"C:\\A\\"}).road, Road::Refused);
    EXPECT_EQ(ReadUninstallerCommandLine({L"/norun"}).road, Road::Refused);
}

}  // namespace
