#include "CommandLine.h"

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

}  // namespace
