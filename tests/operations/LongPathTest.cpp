// Long path names over a fake directory tree: drive parts, splitting, stored
// names, components that do not exist, and the OneDrive test on the result.
#include "LongPathRules.h"

#include "AsciiCase.h"

#include "CaseText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Entries by upper-cased full path, with their stored names; 8.3 aliases are
// entries of their own that yield the long name.
class FakeTree {
public:
    FakeTree() {
        add(L"C:\\Program Files", L"Program Files");
        add(L"C:\\PROGRA~1", L"Program Files");
        add(L"C:\\Users", L"Users");
        add(L"C:\\Users\\Ana", L"Ana");
        add(L"C:\\Users\\Ana\\ONEDRI~1", L"OneDrive - Contoso");
        add(L"C:\\Users\\Ana\\Desktop", L"Desktop");
        add(L"\\\\server\\share\\Docs", L"Docs");
    }

    EntrySearch search() {
        return [this](const std::wstring& path) -> std::optional<std::wstring> {
            searched.push_back(path);
            const auto found = entries_.find(AsciiUpper(path));
            if (found == entries_.end()) return std::nullopt;
            return found->second;
        };
    }

    std::vector<std::wstring> searched;

private:
    void add(const std::wstring& path, const std::wstring& stored) { entries_[AsciiUpper(path)] = stored; }
    std::map<std::wstring, std::wstring> entries_;
};

struct PathCase {
    const wchar_t* typed;
    const wchar_t* expected;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << CaseText(c.typed);
}

class LongPath : public testing::TestWithParam<PathCase> {};

TEST_P(LongPath, RebuildsEveryExistingComponentFromTheLeft) {
    FakeTree tree;
    EXPECT_EQ(GetLongPathWith(GetParam().typed, tree.search()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, LongPath, testing::Values(
    PathCase{L"C:\\PROGRA~1\\Foo\\", L"C:\\Program Files\\Foo\\"},
    PathCase{L"c:\\users\\ANA", L"c:\\Users\\Ana"},
    PathCase{L"C:\\users\\ana\\Missing\\desktop\\", L"C:\\Users\\Ana\\Missing\\desktop\\"},
    PathCase{L"C:\\Users\\Ana\\onedri~1\\Ketrova\\", L"C:\\Users\\Ana\\OneDrive - Contoso\\Ketrova\\"},
    PathCase{L"C:\\", L"C:\\"},
    PathCase{L"C:", L"C:"},
    PathCase{L"\\", L"\\"},
    PathCase{L"", L""},
    PathCase{L"\\\\server\\share\\docs\\", L"\\\\server\\share\\Docs\\"},
    PathCase{L"\\\\server\\share", L"\\\\server\\share"}));

TEST(LongPath, ABareDriveAndTheServerAndShareAreNeverSearched) {
    FakeTree tree;
    GetLongPathWith(L"C:\\", tree.search());
    GetLongPathWith(L"\\\\server\\share\\docs", tree.search());
    // The second "\" of a network path is looked up once as a lone "\",
    // which names no entry.
    const std::vector<std::wstring> expected{L"\\", L"\\\\server\\share\\docs"};
    EXPECT_EQ(tree.searched, expected);
}

TEST(LongPath, EachPrefixCarriesTheResolvedNamesBeforeIt) {
    FakeTree tree;
    GetLongPathWith(L"c:\\progra~1\\Foo\\", tree.search());
    const std::vector<std::wstring> expected{L"c:\\progra~1", L"c:\\Program Files\\Foo"};
    EXPECT_EQ(tree.searched, expected);
}

TEST(ResolveLastComponent, KeepsTheTrailingSeparatorAndTheFolderAsHandedOver) {
    FakeTree tree;
    EXPECT_EQ(ResolveLastComponentWith(L"C:\\users\\", tree.search()), L"C:\\Users\\");
    EXPECT_EQ(ResolveLastComponentWith(L"C:\\users", tree.search()), L"C:\\Users");
    EXPECT_EQ(ResolveLastComponentWith(L"C:\\Nothing\\", tree.search()), L"C:\\Nothing\\");
    EXPECT_EQ(ResolveLastComponentWith(L"\\", tree.search()), L"\\");
}

struct DriveCase {
    const wchar_t* path;
    const wchar_t* drive;
};

void PrintTo(const DriveCase& c, std::ostream* os) {
    *os << CaseText(c.path);
}

class DrivePartOf : public testing::TestWithParam<DriveCase> {};

TEST_P(DrivePartOf, IsTheLetterWithColonOrTheShare) {
    EXPECT_EQ(DrivePart(GetParam().path), GetParam().drive);
}

INSTANTIATE_TEST_SUITE_P(Table, DrivePartOf, testing::Values(
    DriveCase{L"C:\\Users", L"C:"},
    DriveCase{L"c:", L"c:"},
    DriveCase{L"C:relative", L"C:"},
    DriveCase{L"\\\\server\\share\\dir\\file", L"\\\\server\\share"},
    DriveCase{L"\\\\server\\share", L"\\\\server\\share"},
    DriveCase{L"\\\\server", L"\\\\server"},
    DriveCase{L"\\Users", L""},
    DriveCase{L"Users\\Ana", L""},
    DriveCase{L"1:\\x", L""},
    DriveCase{L"", L""}));

struct OneDriveCase {
    const wchar_t* path;
    bool inOneDrive;
};

void PrintTo(const OneDriveCase& c, std::ostream* os) {
    *os << CaseText(c.path);
}

class OneDrive : public testing::TestWithParam<OneDriveCase> {};

TEST_P(OneDrive, IsFoundAnywhereInAnyAsciiCase) {
    EXPECT_EQ(ContainsOneDrive(GetParam().path), GetParam().inOneDrive);
}

INSTANTIATE_TEST_SUITE_P(Table, OneDrive, testing::Values(
    OneDriveCase{L"C:\\Users\\Ana\\OneDrive\\Ketrova\\", true},
    OneDriveCase{L"C:\\Users\\Ana\\ONEDRIVE - Contoso\\", true},
    OneDriveCase{L"D:\\MyOneDriveStuff\\Ketrova\\", true},
    OneDriveCase{L"C:\\onedrive", true},
    OneDriveCase{L"C:\\One Drive\\", false},
    OneDriveCase{L"C:\\Users\\Ana\\ONEDRI~1\\", false},
    OneDriveCase{L"C:\\ONEDR\u0130VE\\", false},
    OneDriveCase{L"", false}));

}  // namespace
