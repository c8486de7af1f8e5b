// The file name of a shell link that points at a program.
#include "LinkNames.h"

#include "CaseText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LinkCase {
    const wchar_t* target;
    const wchar_t* link;
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << CaseText(c.target);
}

class LinkName : public testing::TestWithParam<LinkCase> {};

TEST_P(LinkName, ReplacesTheExtensionOfTheFileName) {
    EXPECT_EQ(LinkFileName(GetParam().target), GetParam().link);
}

INSTANTIATE_TEST_SUITE_P(Table, LinkName, testing::Values(
    LinkCase{L"Ketrova.exe", L"Ketrova.lnk"},
    LinkCase{L"C:\\Program Files (x86)\\Ketrova\\Ketrova.exe", L"Ketrova.lnk"},
    LinkCase{L"Ketrova", L"Ketrova.lnk"},
    LinkCase{L"C:\\Apps.v2\\Ketrova", L"Ketrova.lnk"},
    LinkCase{L"C:\\Apps\\Ketrova.setup.exe", L"Ketrova.setup.lnk"},
    LinkCase{L"C:Ketrova.EXE", L"Ketrova.lnk"},
    LinkCase{L"C:\\Apps\\Ketrova.", L"Ketrova.lnk"}));

}  // namespace
