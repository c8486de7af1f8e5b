// Which process list entries count as the product's executable.
#include "ExeNameMatch.h"

#include "CaseText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NameCase {
    const wchar_t* entry;
    const wchar_t* name;
    bool matches;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << CaseText(c.entry) << " vs " << CaseText(c.name);
}

class NameMatch : public testing::TestWithParam<NameCase> {};

TEST_P(NameMatch, DecidesByTheWholeFileName) {
    const NameCase& c = GetParam();
    EXPECT_EQ(MatchesExeName(c.entry, c.name), c.matches) << "entry " << testing::PrintToString(std::wstring(c.entry));
}

INSTANTIATE_TEST_SUITE_P(Table, NameMatch, testing::Values(
    NameCase{L"Ketrova.exe", L"Ketrova.exe", true},
    NameCase{L"KETROVA.EXE", L"Ketrova.exe", true},
    NameCase{L"ketrova.exe", L"KETROVA.EXE", true},
    NameCase{L"C:\\Apps\\Ketrova.exe", L"Ketrova.exe", true},
    NameCase{L"C:Ketrova.exe", L"Ketrova.exe", true},
    NameCase{L"\\\\server\\share\\KETROVA.exe", L"ketrova.exe", true},
    NameCase{L"C:\\Ketrova.exe\\other.exe", L"Ketrova.exe", false},
    // The whole entry may equal a name that itself carries a folder.
    NameCase{L"C:\\Apps\\Ketrova.exe", L"c:\\apps\\ketrova.exe", true},
    NameCase{L"Ketrova.exe.old", L"Ketrova.exe", false},
    NameCase{L"OldKetrova.exe", L"Ketrova.exe", false},
    NameCase{L"Ketrova", L"Ketrova.exe", false},
    NameCase{L"Ketrova.ex", L"Ketrova.exe", false},
    NameCase{L"Ketrova*", L"Ketrova.exe", false},
    NameCase{L"Ketrova.exe", L"Ketrova*", false},
    NameCase{L"", L"Ketrova.exe", false},
    NameCase{L"C:\\Apps\\", L"Ketrova.exe", false},
    // Only a to z fold: accented letters must match exactly.
    NameCase{L"Éter.exe", L"Éter.exe", true},
    NameCase{L"éter.exe", L"Éter.exe", false},
    NameCase{L"ÉTER.EXE", L"Éter.exe", true},
    NameCase{L"\u00C7ORVO.exe", L"\u00E7orvo.exe", false}));

}  // namespace
