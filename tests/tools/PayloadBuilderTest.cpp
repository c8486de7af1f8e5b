// The payload builder's pieces: which names it takes, its order, its limits,
// its MS-DOS times and the bytes of its records.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ArchiveWriter.h"
#include "BuildError.h"
#include "DosTime.h"
#include "SourceTree.h"
#include "ZipRecords.h"

namespace fs = std::filesystem;
using namespace builder;

namespace {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "payload-builder-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }
    fs::path file(const std::string& name, const std::string& content = "x") const {
        const fs::path p = path_ / name;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }

private:
    fs::path path_;
};

SourceFile named(const std::string& name, std::uint64_t size = 1) { return {"/dev/null", name, size, 0}; }

std::uint32_t u32At(const zip::Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24; }
std::uint16_t u16At(const zip::Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }

}  // namespace

TEST(EntryNames, AcceptsWhatWindowsCanHold) {
    for (const std::string& name : std::vector<std::string>{"Ketrova.exe", "Codecs/Alpha.dll", "a/b/c/d.txt", "with space.dll", "A b/c",
                                   "Ação/café.dll", "emoji\xF0\x9F\x98\x80.txt", "#hash%[]{}~^!@$&'(),;=+-_.txt",
                                   std::string(zip::MaxNameBytes, 'n')}) {
        EXPECT_NO_THROW(checkEntryName(name)) << name;
    }
}

TEST(EntryNames, RefusesWhatWindowsOrTheArchiveCannotHold) {
    const struct {
        std::string name;
        const char* why;
    } cases[] = {
        {"", "empty"},
        {"a<b", "less-than"},         {"a>b", "greater-than"}, {"a:b", "colon"},          {"a\"b", "quote"},
        {"a|b", "bar"},               {"a?b", "question mark"}, {"a*b", "star"},          {"a\\b", "backslash"},
        {"a\x01" "b", "control 1"},   {"a\tb", "tab"},          {"a\x1F" "b", "control 31"},
        {"caf\xE9.dll", "Latin-1 byte"}, {"\x80", "lone continuation"}, {"\xC0\xAF", "overlong"},
        {"\xE2\x82", "truncated"},    {"\xED\xA0\x80", "surrogate"},    {"\xF4\x90\x80\x80", "beyond U+10FFFF"},
        {"\xF8\x88\x80\x80\x80", "five-byte form"},
        {"dir./a", "folder ending in a dot"}, {"a.", "file ending in a dot"}, {"a /b", "folder ending in a space"},
        {"a//b", "empty component"}, {"/a", "leading slash"}, {"a/", "trailing slash"}, {"a/../b", "dot-dot"}, {"./a", "dot"},
        {std::string(zip::MaxNameBytes + 1, 'n'), "65536 bytes"},
        {"aux.h", "device name"}, {"lib/con.cfg", "device name in a folder"}, {"PROGRAMA.ZIP", "temporary archive"}, {"Programa.journal", "journal"},
    };
    for (const auto& c : cases) EXPECT_THROW(checkEntryName(c.name), BuildError) << c.why;
}

TEST(ArchiveOrder, IgnoresCaseOfAsciiLetters) {
    EXPECT_TRUE(comesBefore("alpha", "Beta"));
    EXPECT_TRUE(comesBefore("Alpha", "beta"));
    EXPECT_FALSE(comesBefore("ALPHA", "alpha"));
    EXPECT_FALSE(comesBefore("alpha", "ALPHA"));
    EXPECT_TRUE(comesBefore("_x", "a"));  // '_' sorts before the letters once they are folded to lower case
    EXPECT_TRUE(comesBefore("Codecs.pkg", "Codecs/a.dll"));
    EXPECT_TRUE(comesBefore("a", "ab"));
}

TEST(ArchiveOrder, SortsAndRefusesCaseClashes) {
    std::vector<SourceFile> files = {named("b.dll"), named("Codecs/Z.dll"), named("A.dll"), named("codecs/y.dll")};
    orderAndCheck(files);
    std::vector<std::string> names;
    for (const auto& f : files) names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"A.dll", "b.dll", "codecs/y.dll", "Codecs/Z.dll"}));

    std::vector<SourceFile> clash = {named("Readme.txt"), named("other"), named("README.TXT")};
    EXPECT_THROW(orderAndCheck(clash), BuildError);
}

TEST(ArchiveLimits, WriterStopsAtTheArchiveSizeLimit) {
    TempFolder folder;
    std::vector<SourceFile> files = {{folder.file("a.bin", std::string(5000, 'a')), "a.bin", 5000, 0}};
    const fs::path out = folder.path() / "out.zip";
    // 30 + 5 header, a few bytes of data, 46 + 5 central entry, 22 end record.
    try {
        writeArchive(files, out, {100, "too large for the installer"});
        ADD_FAILURE() << "no refusal";
    } catch (const BuildError& e) {
        EXPECT_STREQ(e.what(), "too large for the installer");
    }
    const ArchiveSummary summary = writeArchive(files, out, {200, ""});
    EXPECT_EQ(summary.archiveBytes, fs::file_size(out));
    EXPECT_LE(summary.archiveBytes, 200u);
}

TEST(ArchiveWriter, RefusesAFileThatChangedSinceItWasListed) {
    TempFolder folder;
    std::vector<SourceFile> files = {{folder.file("a.bin", "four"), "a.bin", 5, 0}};
    EXPECT_THROW(writeArchive(files, folder.path() / "out.zip"), BuildError);
}

TEST(ArchiveWriter, EmptyListGivesTheEndRecordAlone) {
    TempFolder folder;
    const fs::path out = folder.path() / "out.zip";
    EXPECT_EQ(writeArchive({}, out).archiveBytes, zip::EndRecordSize);
    EXPECT_EQ(fs::file_size(out), zip::EndRecordSize);
}

TEST(SourceScan, RefusesMissingFoldersFilesAndSpecialFiles) {
    TempFolder folder;
    EXPECT_THROW(scanSourceTree(folder.path() / "missing"), BuildError);
    EXPECT_THROW(scanSourceTree(folder.file("plain.txt")), BuildError);
    const fs::path pipe = folder.path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_THROW(scanSourceTree(folder.path()), BuildError);
}

TEST(SourceScan, NamesUseSlashesAndFoldersGiveNoEntries) {
    TempFolder folder;
    folder.file("Top.exe", "exe");
    folder.file("Lib/Inner/b.dll", "bb");
    fs::create_directories(folder.path() / "Empty/Deeper");
    const auto files = scanSourceTree(folder.path());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "Lib/Inner/b.dll");
    EXPECT_EQ(files[0].size, 2u);
    EXPECT_EQ(files[1].name, "Top.exe");
}

TEST(DosTimes, PacksLocalTimeWithEvenSeconds) {
    const struct {
        int year, month, day, hour, minute, second;
        std::uint16_t time, date;
    } cases[] = {
        {2023, 6, 15, 13, 45, 31, (13 << 11) | (45 << 5) | 15, (43 << 9) | (6 << 5) | 15},
        {2023, 6, 15, 13, 45, 30, (13 << 11) | (45 << 5) | 15, (43 << 9) | (6 << 5) | 15},
        {1980, 1, 1, 0, 0, 0, 0, (1 << 5) | 1},
        {2107, 12, 31, 23, 59, 59, (23 << 11) | (59 << 5) | 29, (127 << 9) | (12 << 5) | 31},
        {1979, 12, 31, 23, 59, 58, 0, (1 << 5) | 1},  // clamped to the first representable time
        {2108, 1, 1, 0, 0, 0, (23 << 11) | (59 << 5) | 29, (127 << 9) | (12 << 5) | 31},
    };
    for (const auto& c : cases) {
        std::tm t{};
        t.tm_year = c.year - 1900, t.tm_mon = c.month - 1, t.tm_mday = c.day;
        t.tm_hour = c.hour, t.tm_min = c.minute, t.tm_sec = c.second;
        const auto dos = toDosDateTime(t);
        EXPECT_EQ(dos.time, c.time) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(dos.date, c.date) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(DosTimes, FromATimeStampThroughLocalTime) {
    std::tm t{};
    t.tm_year = 2023 - 1900, t.tm_mon = 2, t.tm_mday = 9, t.tm_hour = 10, t.tm_min = 20, t.tm_sec = 44, t.tm_isdst = -1;
    const std::time_t stamp = std::mktime(&t);
    const auto dos = toDosDateTime(stamp);
    EXPECT_EQ(dos.time, (10 << 11) | (20 << 5) | 22);
    EXPECT_EQ(dos.date, (43 << 9) | (3 << 5) | 9);
}

TEST(Records, LocalAndCentralHeadersCarryTheFixedFields) {
    zip::EntryRecord e{"Codecs/a.dll", {0x1234, 0x5678}, 0xCAFEBABE, 1000, 2000, 0x01020304};
    const zip::Bytes local = zip::localHeader(e);
    ASSERT_EQ(local.size(), zip::LocalHeaderSize + e.name.size());
    EXPECT_EQ(u32At(local, 0), zip::LocalHeaderSignature);
    EXPECT_EQ(u16At(local, 4), 20);
    EXPECT_EQ(u16At(local, 6), 0x0800);
    EXPECT_EQ(u16At(local, 8), 8);
    EXPECT_EQ(u16At(local, 10), 0x1234);
    EXPECT_EQ(u16At(local, 12), 0x5678);
    EXPECT_EQ(u32At(local, 14), 0xCAFEBABE);
    EXPECT_EQ(u32At(local, 18), 1000u);
    EXPECT_EQ(u32At(local, 22), 2000u);
    EXPECT_EQ(u16At(local, 26), e.name.size());
    EXPECT_EQ(u16At(local, 28), 0);
    EXPECT_EQ(std::string(local.begin() + 30, local.end()), e.name);

    const zip::Bytes central = zip::centralHeader(e);
    ASSERT_EQ(central.size(), zip::CentralHeaderSize + e.name.size());
    EXPECT_EQ(u32At(central, 0), zip::CentralHeaderSignature);
    EXPECT_EQ(u16At(central, 4), 0x0014);
    EXPECT_EQ(u16At(central, 6), 20);
    EXPECT_EQ(u16At(central, 8), 0x0800);
    EXPECT_EQ(u16At(central, 10), 8);
    EXPECT_EQ(u32At(central, 16), 0xCAFEBABE);
    EXPECT_EQ(u32At(central, 20), 1000u);
    EXPECT_EQ(u32At(central, 24), 2000u);
    EXPECT_EQ(u16At(central, 28), e.name.size());
    for (std::size_t at : {30u, 32u, 34u, 36u}) EXPECT_EQ(u16At(central, at), 0) << at;
    EXPECT_EQ(u32At(central, 38), 0x20u);
    EXPECT_EQ(u32At(central, 42), 0x01020304u);
}

TEST(Records, EndRecordIs22BytesWithoutComment) {
    const zip::Bytes end = zip::endRecords(85, 5897, 24865082);
    ASSERT_EQ(end.size(), 22u);
    EXPECT_EQ(u32At(end, 0), zip::EndRecordSignature);
    EXPECT_EQ(u16At(end, 4), 0);
    EXPECT_EQ(u16At(end, 6), 0);
    EXPECT_EQ(u16At(end, 8), 85);
    EXPECT_EQ(u16At(end, 10), 85);
    EXPECT_EQ(u32At(end, 12), 5897u);
    EXPECT_EQ(u32At(end, 16), 24865082u);
    EXPECT_EQ(u16At(end, 20), 0);
}

TEST(Records, Zip64WhereAValueNeedsIt) {
    constexpr std::uint64_t big = 0x123456789, small = 1000;
    zip::EntryRecord e{"a.bin", {}, 0, small, big, big + 1, true};
    const zip::Bytes local = zip::localHeader(e);
    ASSERT_EQ(local.size(), zip::LocalHeaderSize + 5 + 20);
    EXPECT_EQ(u16At(local, 4), 45);
    EXPECT_EQ(u32At(local, 18), 0xFFFFFFFFu);
    EXPECT_EQ(u32At(local, 22), 0xFFFFFFFFu);
    EXPECT_EQ(u16At(local, 28), 20);
    EXPECT_EQ(u16At(local, 35), zip::Zip64ExtraId);
    EXPECT_EQ(u16At(local, 37), 16);
    EXPECT_EQ(u32At(local, 39), 0x23456789u);  // size, then compressed size: both, always
    EXPECT_EQ(u32At(local, 47), small);

    // The central record carries only what overflows: the size and the offset.
    const zip::Bytes central = zip::centralHeader(e);
    ASSERT_EQ(central.size(), zip::CentralHeaderSize + 5 + 20);
    EXPECT_EQ(u16At(central, 6), 45);
    EXPECT_EQ(u32At(central, 20), small);
    EXPECT_EQ(u32At(central, 24), 0xFFFFFFFFu);
    EXPECT_EQ(u32At(central, 42), 0xFFFFFFFFu);
    EXPECT_EQ(u16At(central, 53), 16);
    EXPECT_EQ(u32At(central, 55), 0x23456789u);
    EXPECT_EQ(u32At(central, 63), 0x2345678Au);

    // 70,000 entries: the count is in the ZIP64 end record, which the locator finds.
    const zip::Bytes end = zip::endRecords(70000, 5897, 24865082);
    ASSERT_EQ(end.size(), zip::Zip64EndRecordSize + zip::Zip64LocatorSize + zip::EndRecordSize);
    EXPECT_EQ(u32At(end, 0), zip::Zip64EndRecordSignature);
    EXPECT_EQ(u32At(end, 32), 70000u);
    EXPECT_EQ(u32At(end, 56), zip::Zip64LocatorSignature);
    EXPECT_EQ(u32At(end, 64), 5897u + 24865082u);
    EXPECT_EQ(u16At(end, 76 + 8), 0xFFFF);
    EXPECT_EQ(u32At(end, 76 + 16), 24865082u);
}
