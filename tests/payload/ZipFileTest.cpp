// The archive reader against archives crafted byte by byte.
#include "Scratch.h"
#include "ZipBuilder.h"

#include <InflateStream.h>
#include <MemoryStream.h>
#include <Utf8.h>
#include <ZipFile.h>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace fs = std::filesystem;
using namespace ziptest;

namespace {

std::wstring W(const fs::path& path) { return path.wstring(); }

// The failure of opening and extracting an archive, as "<kind>: <text>", or "" on success.
std::string Outcome(const std::function<void()>& action) {
    try {
        action();
        return "";
    } catch (const EZipCRCException& e) {
        return std::string("crc: ") + e.what();
    } catch (const EZDecompressionError& e) {
        return std::string("zlib: ") + e.what();
    } catch (const EZipException& e) {
        return std::string("zip: ") + e.what();
    } catch (const Exception& e) {
        return std::string("other: ") + e.what();
    }
}

std::string ExtractFile(const Scratch& scratch, const std::string& bytes) {
    const fs::path archive = scratch.Write("archive.zip", bytes);
    return Outcome([&] {
        TZipFile zip;
        zip.Open(W(archive), TZipMode::zmRead);
        zip.ExtractAll(W(scratch.out()));
        zip.Close();
    });
}

std::string ExtractMemory(const Scratch& scratch, const std::string& bytes) {
    return Outcome([&] {
        TReadOnlyMemoryStream stream(bytes.data(), bytes.size());
        TZipFile zip;
        zip.Open(stream, TZipMode::zmRead);
        zip.ExtractAll(W(scratch.out()));
    });
}

// What the scratch folder holds next to the target folder.
std::string BesideTarget(const Scratch& scratch) {
    std::string names;
    for (const auto& entry : fs::directory_iterator(scratch.root())) {
        if (entry.path().filename() != "out") names += entry.path().filename().string();
    }
    return names;
}

Archive One(Entry entry) { return Archive{{std::move(entry)}}; }

Archive Simple() { return Archive{{{.name = "a.txt", .data = "alpha"}, {.name = "b.txt", .data = "bravo"}}}; }

// ---------------------------------------------------------------- opening

struct OpenCase {
    const char* title;
    std::string bytes;
    std::string outcome;
};

std::string WithComment(std::size_t length) {
    Archive a = Simple();
    a.comment.assign(length, 'c');
    return Build(a);
}

std::vector<OpenCase> OpenCases() {
    const std::string good = Build(Simple());
    const std::size_t firstCentral = good.find(Le32(0x02014B50));
    const std::size_t end = FindLast(good, 0x06054B50);
    const std::string twice = Build(Archive{{{.name = "a.txt", .data = "alpha"}, {.name = "a.txt", .data = "alpha"}}});
    Archive zip64 = Simple();
    zip64.zip64 = true;
    const std::string good64 = Build(zip64);
    Archive cutCentral = Simple();
    // The end record's central offset points at a header that the file's end cuts short.
    cutCentral.comment = Le32(0x02014B50) + std::string(10, 'x');
    std::string cut = Build(cutCentral);
    cut = MessWith(cut, FindLast(cut, 0x06054B50) + 16, Le32(static_cast<std::uint32_t>(cut.size() - 14)));
    Archive nothing;
    return {
        {"empty file", "", "zip: Stream read error"},
        {"21 bytes", std::string(21, 'P'), "zip: Error reading zip file"},
        {"no end record", std::string(5000, 'x'), "zip: Error reading zip file"},
        {"no entries", Build(nothing), ""},
        {"longest comment", WithComment(65535), ""},
        {"end record 65,557 bytes before the end", Build(Archive{Simple().entries, "", false, std::string(65535, 'z')}),
         ""},
        {"end record further back", Build(Archive{Simple().entries, "", false, std::string(65536, 'z')}),
         "zip: Error reading zip file"},
        {"bad central signature", MessWith(good, firstCentral, "PK\x01\x09"),
         "zip: Invalid Zip Central Header signature"},
        {"count beyond the central directory", MessWith(good, end + 10, Le16(3)),
         "zip: Invalid Zip Central Header signature"},
        {"central header cut short", cut, "zip: Error reading zip file"},
        {"central offset beyond the file", MessWith(good, end + 16, Le32(0x7FFFFFF0)),
         "zip: Invalid Zip Central Header signature"},
        {"ZIP64", good64, ""},
        {"ZIP64 locator signature", MessWith(good64, FindLast(good64, 0x07064B50), "PK\x06\x08"),
         "zip: Error reading zip file"},
        {"ZIP64 record signature", MessWith(good64, FindLast(good64, 0x06064B50), "PK\x06\x05"),
         "zip: Error reading zip file"},
        {"ZIP64 locator before the file start", Build(Archive{{}, "", false, ""}).replace(16, 4, Le32(0xFFFFFFFF)),
         "zip: Error reading zip file"},
        // More than 65,535 entries: counts at their maximum, the offset as it is.
        {"ZIP64 record behind a real offset",
         MessWith(MessWith(good64, FindLast(good64, 0x06054B50) + 16, Le32(static_cast<std::uint32_t>(firstCentral))),
                  FindLast(good64, 0x06054B50) + 12, Le32(0xFFFFFFFF)),
         ""},
        {"ZIP64 count below the entries", MessWith(good64, FindLast(good64, 0x06064B50) + 32, Le64(1)),
         "zip: Error reading zip file"},
        {"count below the entries", MessWith(good, end + 10, Le16(1)), "zip: Error reading zip file"},
        {"offset at its maximum with no ZIP64 value", MessWith(good, firstCentral + 42, Le32(0xFFFFFFFF)),
         "zip: Error reading zip file"},
        {"ZIP64 record offset beyond the file",
         MessWith(good64, FindLast(good64, 0x07064B50) + 8, Le64(0xFFFFFFFFFFFFull)), "zip: Error reading zip file"},
        // A self-extractor's stub, or an executable with the archive appended.
        {"1 KiB in front", std::string(1024, 'x') + good, ""},
        {"1 KiB in front of ZIP64", std::string(1024, 'x') + good64, ""},
        // The pattern of overlap-based zip bombs.
        {"two entries on the same data", MessWith(twice, FindLast(twice, 0x02014B50) + 42, Le32(0)),
         "zip: Entries \"a.txt\" and \"a.txt\" overlap"},
        {"data running into the next entry", MessWith(good, firstCentral + 20, Le32(10)),
         "zip: Entries \"a.txt\" and \"b.txt\" overlap"},
        {"local header naming another entry", MessWith(good, good.find("b.txt"), "x"),
         "zip: The local header of \"b.txt\" names another entry"},
    };
}

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.title; }

class OpenTest : public testing::TestWithParam<OpenCase> {};

TEST_P(OpenTest, FromFileAndFromMemory) {
    Scratch scratch;
    EXPECT_EQ(ExtractFile(scratch, GetParam().bytes), GetParam().outcome);
    EXPECT_EQ(ExtractMemory(scratch, GetParam().bytes), GetParam().outcome);
    if (!GetParam().outcome.empty()) {
        EXPECT_EQ(Listing(scratch.out()), "") << "a refused archive writes nothing";
    }
}

INSTANTIATE_TEST_SUITE_P(Archives, OpenTest, testing::ValuesIn(OpenCases()), [](const auto& info) {
    std::string name;
    for (char c : std::string(info.param.title)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

TEST(MemoryStream, FarPositionsDoNotWrap) {
    const std::string bytes = "0123";
    TReadOnlyMemoryStream stream(bytes.data(), bytes.size());
    char c = 0;
    EXPECT_EQ(stream.Seek((std::int64_t{1} << 32) + 2, SeekOrigin::Begin), (std::int64_t{1} << 32) + 2);
    EXPECT_EQ(stream.Read(&c, 1), 0u);
    EXPECT_EQ(stream.Seek(std::numeric_limits<std::int64_t>::max(), SeekOrigin::Current),
              std::numeric_limits<std::int64_t>::max());
}

TEST(Open, KeepsTheCommentAndTheEntries) {
    const std::string bytes = WithComment(65535);
    TReadOnlyMemoryStream stream(bytes.data(), bytes.size());
    TZipFile zip;
    zip.Open(stream, TZipMode::zmRead);
    EXPECT_EQ(zip.Comment().size(), 65535u);
    ASSERT_EQ(zip.FileCount(), 2);
    EXPECT_EQ(zip.FileName(1), L"b.txt");
    EXPECT_EQ(zip.IndexOf(L"b.txt"), 1);
    EXPECT_EQ(zip.IndexOf(L"c.txt"), -1);
}

TEST(Open, AnEmptyArchiveExtractsNothing) {
    Scratch scratch;
    EXPECT_EQ(ExtractFile(scratch, Build(Archive{})), "");
    EXPECT_EQ(Listing(scratch.out()), "");
}

TEST(Open, RefusesModesOtherThanReading) {
    const std::string bytes = Build(Simple());
    TReadOnlyMemoryStream stream(bytes.data(), bytes.size());
    TZipFile zip;
    EXPECT_EQ(Outcome([&] { zip.Open(stream, TZipMode::zmClosed); }), "zip: Invalid argument");
    EXPECT_EQ(Outcome([&] { zip.Open(stream, TZipMode::zmRead); }), "");
    EXPECT_EQ(zip.FileCount(), 2);
}

TEST(Open, MissingFileNamesTheFile) {
    Scratch scratch;
    const fs::path missing = scratch.root() / "missing.zip";
    TZipFile zip;
    const std::string outcome = Outcome([&] { zip.Open(W(missing), TZipMode::zmRead); });
    const std::string expected = "zip: Cannot open file \"" + WideToUtf8(W(missing)) + "\". ";
    EXPECT_EQ(outcome.substr(0, expected.size()), expected);
    EXPECT_GT(outcome.size(), expected.size()) << "the system's text follows";
}

TEST(Open, OpensAgainAfterAFailure) {
    const std::string bad(30, 'x');
    const std::string good = Build(Simple());
    TReadOnlyMemoryStream badStream(bad.data(), bad.size());
    TReadOnlyMemoryStream goodStream(good.data(), good.size());
    TZipFile zip;
    EXPECT_NE(Outcome([&] { zip.Open(badStream, TZipMode::zmRead); }), "");
    EXPECT_EQ(zip.Mode(), TZipMode::zmClosed);
    zip.Open(goodStream, TZipMode::zmRead);
    EXPECT_EQ(zip.FileCount(), 2);
}

// ---------------------------------------------------------------- reading entries

TEST(Read, NeedsAnOpenReaderAndAValidIndex) {
    const std::string bytes = Build(Simple());
    TReadOnlyMemoryStream stream(bytes.data(), bytes.size());
    TZipFile zip;
    EXPECT_EQ(Outcome([&] { zip.Read(0); }), "zip: File must be open for reading");
    EXPECT_EQ(Outcome([&] { zip.ExtractAll(L"x"); }), "zip: File must be open for reading");
    zip.Open(stream, TZipMode::zmRead);
    EXPECT_EQ(Outcome([&] { zip.Read(2); }), "zip: Index out of range (2).  Must be >= 0 and < 2");
    EXPECT_EQ(Outcome([&] { zip.Read(-1); }), "zip: Index out of range (-1).  Must be >= 0 and < 2");
    zip.Close();
    EXPECT_EQ(Outcome([&] { zip.Read(0); }), "zip: File must be open for reading");
}

TEST(Read, GivesTheDataAndTheLocalHeader) {
    const std::string bytes = Build(Simple());
    TReadOnlyMemoryStream stream(bytes.data(), bytes.size());
    TZipFile zip;
    zip.Open(stream, TZipMode::zmRead);
    auto [data, local] = zip.Read(1);
    char text[16]{};
    EXPECT_EQ(data->Read(text, sizeof text), 5u);
    EXPECT_STREQ(text, "bravo");
    EXPECT_EQ(local.ExternalAttributes, 0u) << "the local header has none";
    EXPECT_EQ(local.MadeByVersion, 0u);
    EXPECT_EQ(local.UncompressedSize, 5u);
    EXPECT_EQ(std::string(local.FileName.begin(), local.FileName.end()), "b.txt");
}

TEST(Read, ExtractByNameAndMissingName) {
    Scratch scratch;
    const std::string bytes = Build(Simple());
    TReadOnlyMemoryStream stream(bytes.data(), bytes.size());
    TZipFile zip;
    zip.Open(stream, TZipMode::zmRead);
    zip.Extract(L"b.txt", W(scratch.out()));
    EXPECT_EQ(Listing(scratch.out()), "b.txt");
    try {
        zip.Extract(L"c.txt", W(scratch.out()));
        FAIL() << "no such entry";
    } catch (const EZipFileNotFoundException& e) {
        EXPECT_STREQ(e.what(), "The specified file was not found");
        EXPECT_EQ(e.FileName(), L"c.txt");
    }
}

TEST(Read, ProgressFollowsTheChunks) {
    Scratch scratch;
    // Beyond what is decoded whole, so that it streams chunk by chunk.
    const std::string big(TEntryBuffers::WholeEntryLimit + 10, 'q');
    const std::string bytes = Build(One({.name = "big.bin", .data = big}));
    TReadOnlyMemoryStream stream(bytes.data(), bytes.size());
    TZipFile zip;
    std::vector<std::uint64_t> positions;
    zip.OnProgress = [&](TZipFile&, const std::wstring& file, const TZipHeader&, std::uint64_t position) {
        EXPECT_TRUE(file.ends_with(L"big.bin")) << WideToUtf8(file);
        positions.push_back(position);
    };
    zip.Open(stream, TZipMode::zmRead);
    zip.ExtractAll(W(scratch.out()));
    std::vector<std::uint64_t> chunks;
    for (std::uint64_t at = TZipFile::ChunkSize; at < big.size(); at += TZipFile::ChunkSize) chunks.push_back(at);
    chunks.push_back(big.size());
    EXPECT_EQ(positions, chunks);
    EXPECT_EQ(ReadFile(scratch.out() / "big.bin"), big);
}

// ---------------------------------------------------------------- extraction

struct ExtractCase {
    const char* title;
    Archive archive;
    std::string outcome;
    std::string listing;                             // of the target folder afterwards
    std::vector<std::pair<std::string, std::string>> files;  // path (UTF-8) and content
};

// Over three chunks of text that deflates to a mix of literals and matches.
std::string Big() {
    std::string data(3 * TZipFile::ChunkSize + 123, ' ');
    std::uint32_t state = 12345;
    for (char& c : data) {
        state = state * 1103515245u + 12345u;
        c = "KETROVA ketrova 0123456789\n"[(state >> 16) % 27];
    }
    return data;
}

std::vector<ExtractCase> ExtractCases() {
    Entry zip64Sizes{.name = "z64.txt", .data = "sized by the ZIP64 record"};
    zip64Sizes.uncompressedSize = 0xFFFFFFFF;
    zip64Sizes.centralExtra = ExtraRecord(0x0001, Le64(zip64Sizes.data.size()) + Le64(0) + Le64(0));
    Entry zip64Cut = zip64Sizes;
    zip64Cut.name = "cut.txt";
    zip64Cut.uncompressedSize = {};
    // The record claims more bytes than the field holds: it is not there.
    zip64Cut.centralExtra = Le16(0x0001) + Le16(24) + Le64(1);
    Entry garbageExtra{.name = "g.txt", .data = "extra", .localExtra = "\x75\x70\x07", .centralExtra = "\x01"};
    return {
        {"stored", One({.name = "s.bin", .data = std::string("\0\x01\xFFstored", 9), .method = 0}), "", "s.bin",
         {{"s.bin", std::string("\0\x01\xFFstored", 9)}}},
        {"empty entry", One({.name = "empty.txt", .data = ""}), "", "empty.txt", {{"empty.txt", ""}}},
        {"folders of a path", One({.name = "a/b/c.txt", .data = "c"}), "", "a/ a/b/ a/b/c.txt", {{"a/b/c.txt", "c"}}},
        {"folder entry", One({.name = "d/e/", .data = "", .method = 0}), "", "d/ d/e/", {}},
        {"data descriptor, stored", One({.name = "ds.txt", .data = "plain", .method = 0, .dataDescriptor = true}), "",
         "ds.txt", {{"ds.txt", "plain"}}},
        {"ZIP64 sizes", One(zip64Sizes), "", "z64.txt", {{"z64.txt", zip64Sizes.data}}},
        {"ZIP64 record that does not fit", One(zip64Cut), "", "cut.txt", {{"cut.txt", zip64Cut.data}}},
        {"extra fields too short for any record", One(garbageExtra), "", "g.txt", {{"g.txt", "extra"}}},
        // The 16-bit count let wrap (to 4,464), and no ZIP64 record.
        {"70,000 entries without ZIP64", One({.name = "d/", .data = "", .method = 0, .copies = 70000}), "", "d/", {}},
        {"offset only in the ZIP64 record",
         Archive{{{.name = "first.txt", .data = "1"}, {.name = "o.txt", .data = "offset only", .zip64Offset = true}}}, "",
         "first.txt o.txt", {{"o.txt", "offset only"}}},
        // As bsdtar writes a folder given as ".".
        {"names below \"./\"",
         Archive{{{.name = "./", .data = "", .method = 0}, {.name = "./d0/", .data = "", .method = 0},
                  {.name = "./d0/f.bin", .data = "f"}}},
         "", "d0/ d0/f.bin", {{"d0/f.bin", "f"}}},
        {"UTF-8 name", One({.name = "ma\xC3\xA7\xC3\xA3.txt", .data = "u"}), "", "ma\xC3\xA7\xC3\xA3.txt", {}},
        {"code page 437 name", One({.name = "\x81" "ber.txt", .data = "cp", .flag = 0}), "", "\xC3\xBC" "ber.txt",
         {{"\xC3\xBC" "ber.txt", "cp"}}},
        {"Unicode Path with its CRC",
         One({.name = "raw.txt", .data = "up", .flag = 0, .localExtra = UnicodePath("raw.txt", "\xC3\xA9t\xC3\xA9.txt")}),
         "", "\xC3\xA9t\xC3\xA9.txt", {}},
        {"Unicode Path with another CRC",
         One({.name = "raw.txt", .data = "up", .flag = 0, .localExtra = UnicodePath("other", "\xC3\xA9t\xC3\xA9.txt")}),
         "", "raw.txt", {}},
        {"Unicode Path cut short",
         One({.name = "raw.txt", .data = "up", .flag = 0, .localExtra = Le16(0x7075) + Le16(40) + "\x01" + Le32(0)}),
         "", "raw.txt", {}},
        {"method 12", One({.name = "bz.bin", .data = "x", .method = 12, .payload = "BZh9"}),
         "zip: Unsupported compression method 12 in \"bz.bin\"", "", {}},
        {"deflate data zlib refuses", One({.name = "bad.bin", .data = "x", .payload = "\xFF\xFF\xFF\xFF"}),
         "zlib: invalid block type", "bad.bin", {}},
        {"deflate data ending before the size", One({.name = "short.bin", .data = "1234", .uncompressedSize = 10}),
         "zip: Error reading zip file", "short.bin", {}},
        // A stored window reads on into whatever follows the entry.
        {"stored size beyond the data", One({.name = "long.bin", .data = "1234", .method = 0, .uncompressedSize = 10}),
         "crc: Error reading zip file", "long.bin", {}},
        {"wrong CRC leaves the complete file", One({.name = "crc.txt", .data = "checked", .crc = 0x12345678}),
         "crc: Error reading zip file", "crc.txt", {{"crc.txt", "checked"}}},
        // Entries of one name are written in turn, whichever thread takes them.
        {"the last entry of a name wins",
         Archive{{{.name = "a.txt", .data = std::string(5000, 'x')}, {.name = "A.TXT", .data = "last"}}}, "",
#ifdef _WIN32
         "a.txt", {{"a.txt", "last"}}},
#else
         "A.TXT a.txt", {{"A.TXT", "last"}}},
#endif
        {"invalid characters", One({.name = "a|b.txt", .data = "x"}), "zip: Invalid characters in path", "", {}},
        // Even empty, as its data could not be checked.
        {"encrypted entry",
         Archive{{{.name = "a.txt", .data = "alpha"}, {.name = "secret.txt", .data = "", .flag = 0x0801}}},
         "zip: Encrypted entries are not supported: \"secret.txt\"", "", {}},
        {"strong encryption", One({.name = "s.bin", .data = "x", .flag = 0x0841}),
         "zip: Encrypted entries are not supported: \"s.bin\"", "", {}},
        {"file entry without a name", Archive{{{.name = "a.txt", .data = "alpha"}, {.name = "", .data = "lost"}}},
         "zip: Entry 2 has no name", "", {}},
#ifndef _WIN32
        // Windows names cannot hold * or ?.
        {"wildcards pass", One({.name = "a*b?.txt", .data = "x"}), "", "a*b?.txt", {}},
#endif
        {"dot components resolve inside", One({.name = "a/./../b.txt", .data = "x"}), "", "b.txt", {}},
    };
}

void PrintTo(const ExtractCase& c, std::ostream* os) { *os << c.title; }

// The largest entry is started first, and a started entry always ends; after a
// failure no other is started, so the first failure in the archive is 2.txt's.
TEST(ExtractAll, ReportsTheFailedEntryFirstInTheArchive) {
    Scratch scratch;
    const Archive archive{{{.name = "1.txt", .data = "one"},
                           {.name = "2.txt", .data = std::string(300000, 't'), .crc = 1},
                           {.name = "3.txt", .data = "three", .payload = "\xFF\xFF\xFF\xFF"}}};
    EXPECT_EQ(ExtractFile(scratch, Build(archive)), "crc: Error reading zip file");
}

// From memory there is one thread, which goes in the archive's order.
TEST(ExtractAll, OnOneThreadEntriesAfterAFailureAreNotExtracted) {
    Scratch scratch;
    const Archive archive{
        {{.name = "1.txt", .data = "one"}, {.name = "2.txt", .data = "two", .crc = 1}, {.name = "3.txt", .data = "three"}}};
    EXPECT_EQ(ExtractMemory(scratch, Build(archive)), "crc: Error reading zip file");
    EXPECT_EQ(Listing(scratch.out()), "1.txt 2.txt");
    EXPECT_EQ(ReadFile(scratch.out() / "1.txt"), "one");
}

class ExtractTest : public testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractTest, WritesWhatTheEntriesHold) {
    const ExtractCase& c = GetParam();
    Scratch scratch;
    EXPECT_EQ(ExtractFile(scratch, Build(c.archive)), c.outcome);
    EXPECT_EQ(Listing(scratch.out()), c.listing);
    EXPECT_EQ(BesideTarget(scratch), "archive.zip") << "nothing beside the target folder";
    for (const auto& [name, content] : c.files) {
        EXPECT_EQ(ReadFile(scratch.out() / fs::path(std::u8string(name.begin(), name.end()))), content) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, ExtractTest, testing::ValuesIn(ExtractCases()), [](const auto& info) {
    std::string name;
    for (char c : std::string(info.param.title)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

// Kept out of the table, whose cases every test process builds.
TEST(Extract, DeflatedOverSeveralChunks) {
    Scratch scratch;
    const std::string big = Big();
    EXPECT_EQ(ExtractFile(scratch, Build(One({.name = "big.txt", .data = big}))), "");
    EXPECT_TRUE(ReadFile(scratch.out() / "big.txt") == big);
}

TEST(Extract, DataDescriptorOverSeveralChunks) {
    Scratch scratch;
    const std::string big = Big();
    EXPECT_EQ(ExtractMemory(scratch, Build(One({.name = "dd.txt", .data = big, .dataDescriptor = true}))), "");
    EXPECT_TRUE(ReadFile(scratch.out() / "dd.txt") == big);
}

TEST(Extract, LocalHeaderWithoutSignature) {
    Scratch scratch;
    const std::string bytes = Build(Simple());
    const std::size_t second = bytes.find(Le32(0x04034B50), 1);
    EXPECT_EQ(ExtractFile(scratch, MessWith(bytes, second, "PK\x03\x05")), "zip: Invalid Zip Local Header signature");
    EXPECT_EQ(Listing(scratch.out()), "");
}

TEST(Extract, ReplacesAnExistingFile) {
    Scratch scratch;
    scratch.Write("out/a.txt", "an older and longer text");
    EXPECT_EQ(ExtractFile(scratch, Build(Simple())), "");
    EXPECT_EQ(ReadFile(scratch.out() / "a.txt"), "alpha");
}

TEST(Extract, ExistingReadOnlyFileCannotBeReplaced) {
    Scratch scratch;
    const fs::path target = scratch.Write("out/a.txt", "kept");
    fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string expected = "zip: Cannot create file \"" + WideToUtf8(W(scratch.out())) + "\\a.txt\". ";
    const std::string outcome = ExtractFile(scratch, Build(Simple()));
    EXPECT_EQ(outcome.substr(0, expected.size()), expected) << outcome;
    EXPECT_EQ(ReadFile(target), "kept");
}

// What a log or an exit code is chosen from: the kind, the entry, the system's code.
TEST(Extract, FailuresTellTheirKindAndEntry) {
    struct Case {
        Archive archive;
        TZipErrorKind kind;
        std::wstring entry;
    };
    const std::vector<Case> cases{
        {One({.name = "d/crc.txt", .data = "checked", .crc = 1}), TZipErrorKind::Checksum, L"d\\crc.txt"},
        {One({.name = "bad.bin", .data = "x", .payload = "\xFF\xFF\xFF\xFF"}), TZipErrorKind::Format, L"bad.bin"},
        {One({.name = "bz.bin", .data = "x", .method = 12}), TZipErrorKind::UnsupportedMethod, L"bz.bin"},
        {One({.name = "../up.txt", .data = "x"}), TZipErrorKind::UnsafeName, L"..\\up.txt"},
        {Simple(), TZipErrorKind::InputOutput, L"a.txt"},
    };
    for (const Case& c : cases) {
        Scratch scratch;
        // A read-only file in the way of a.txt.
        fs::permissions(scratch.Write("out/a.txt", ""),
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        const std::string bytes = Build(c.archive);
        TReadOnlyMemoryStream stream(bytes.data(), bytes.size());
        TZipFile zip;
        zip.Open(stream, TZipMode::zmRead);
        try {
            zip.ExtractAll(W(scratch.out()));
            ADD_FAILURE() << WideToUtf8(c.entry);
        } catch (const EZipException& e) {
            EXPECT_EQ(e.Kind(), c.kind) << e.what();
            EXPECT_EQ(e.Entry(), c.entry) << e.what();
            EXPECT_EQ(e.SystemError() != 0, c.kind == TZipErrorKind::InputOutput) << e.what();
        }
    }
}

TEST(Extract, TimesOfTheEntryAsLocalTime) {
    Scratch scratch;
    EXPECT_EQ(ExtractFile(scratch, Build(One({.name = "t.txt", .data = "t"}))), "");
    EXPECT_EQ(ModifiedTime(scratch.out() / "t.txt"), LocalTime(2023, 6, 15, 13, 45, 30));
}

// Writers that record UTC: the NTFS field first, then the UT field, from either
// header, then the MS-DOS time.
TEST(Extract, TimesOfExtraFieldsAsUtc) {
    constexpr std::time_t ntfsTime = 1700000000;  // 2023-11-14 22:13:20 UTC
    constexpr std::time_t utTime = ntfsTime + 3600;
    const std::string ntfs =
        ExtraRecord(0x000A, Le32(0) + Le16(1) + Le16(24) + Le64(ntfsTime * 10000000ull + 116444736000000000ull) +
                                Le64(0) + Le64(0));
    const std::string ntfsCut = ExtraRecord(0x000A, Le32(0) + Le16(1) + Le16(4) + Le32(0));
    const std::string ut = ExtraRecord(0x5455, "\x03" + Le32(utTime) + Le32(0));
    const std::string utWithoutTime = ExtraRecord(0x5455, "\x02" + Le32(utTime));
    const std::vector<std::pair<Entry, std::time_t>> cases{
        {{.name = "ntfs.txt", .data = "n", .localExtra = ut + ntfs}, ntfsTime},
        {{.name = "central-ntfs.txt", .data = "n", .localExtra = ut, .centralExtra = ntfs}, ntfsTime},
        {{.name = "ut.txt", .data = "u", .localExtra = ntfsCut + ut}, utTime},
        {{.name = "central-ut.txt", .data = "u", .centralExtra = ExtraRecord(0x5455, "\x01" + Le32(utTime))}, utTime},
        {{.name = "dos.txt", .data = "d", .localExtra = utWithoutTime}, LocalTime(2023, 6, 15, 13, 45, 30)},
    };
    Archive archive;
    for (const auto& [entry, time] : cases) archive.entries.push_back(entry);
    Scratch scratch;
    EXPECT_EQ(ExtractFile(scratch, Build(archive)), "");
    for (const auto& [entry, time] : cases) EXPECT_EQ(ModifiedTime(scratch.out() / entry.name), time) << entry.name;
}

TEST(Extract, InvalidDosDateKeepsTheFileSystemsTime) {
    Scratch scratch;
    const std::time_t before = std::time(nullptr);
    const std::uint32_t monthZero = ziptest::DefaultDosTime & ~(0x0Fu << 21);
    EXPECT_EQ(ExtractFile(scratch, Build(One({.name = "m0.txt", .data = "t", .dosTime = monthZero}))), "");
    EXPECT_GE(ModifiedTime(scratch.out() / "m0.txt"), before - 2);
}

TEST(Extract, MsDosAttributesAndOtherHosts) {
    Scratch scratch;
    Archive archive{{{.name = "ro.txt", .data = "r", .externalAttributes = 0x21},
                     {.name = "rw.txt", .data = "w", .externalAttributes = 0x20},
                     // As Windows' own compressed folders write them.
                     {.name = "ntfs.txt", .data = "n", .madeBy = 0x0A14, .externalAttributes = 0x21},
                     // A Unix entry whose low byte would read as read-only and link: neither applies.
                     {.name = "unix.txt", .data = "u", .madeBy = 0x0314, .externalAttributes = 0x81A40041}}};
    EXPECT_EQ(ExtractFile(scratch, Build(archive)), "");
    EXPECT_TRUE(IsReadOnly(scratch.out() / "ro.txt"));
    EXPECT_FALSE(IsReadOnly(scratch.out() / "rw.txt"));
    EXPECT_TRUE(IsReadOnly(scratch.out() / "ntfs.txt"));
    EXPECT_FALSE(IsReadOnly(scratch.out() / "unix.txt"));
    EXPECT_FALSE(fs::is_symlink(scratch.out() / "unix.txt"));
    EXPECT_EQ(ReadFile(scratch.out() / "unix.txt"), "u");
    EXPECT_EQ(ModifiedTime(scratch.out() / "unix.txt"), LocalTime(2023, 6, 15, 13, 45, 30));
}

// ---------------------------------------------------------------- names that would leave the folder

class EscapeTest : public testing::TestWithParam<const char*> {};

TEST_P(EscapeTest, IsRefusedBeforeAnythingIsWritten) {
    Scratch scratch;
    const std::string name = GetParam();
    Archive archive{{{.name = "first.txt", .data = "1"}, {.name = name, .data = "evil"}, {.name = "last.txt", .data = "3"}}};
    const std::string outcome = ExtractFile(scratch, Build(archive));
    EXPECT_EQ(outcome.substr(0, 23), "zip: Unsafe entry name ") << outcome;
    EXPECT_EQ(Listing(scratch.root()), "archive.zip out/");
}

INSTANTIATE_TEST_SUITE_P(Names, EscapeTest,
                         testing::Values("../evil.txt", "a/../../evil.txt", "..\\evil.txt", "/abs.txt", "\\abs.txt",
                                         "C:/evil.txt", "C:evil.txt", "a/b.txt:stream", "CON", "con.txt", "aux",
                                         "NUL.tar.gz", "a/COM9", "lpt1.log", "prn ", "trailing.", "dots/...",
                                         "space /x.txt"));

TEST(Escape, NamesThatOnlyLookLikeDevices) {
    Scratch scratch;
    Archive archive{{{.name = "CONFIG.txt", .data = "1"}, {.name = "COM10", .data = "2"}, {.name = "LPT0", .data = "3"},
                     {.name = "nul_not", .data = "4"}}};
    EXPECT_EQ(ExtractFile(scratch, Build(archive)), "");
    EXPECT_EQ(Listing(scratch.out()), "COM10 CONFIG.txt LPT0 nul_not");
}

// ---------------------------------------------------------------- symbolic links

Entry Link(std::string name, std::string target) {
    return {.name = std::move(name), .data = std::move(target), .method = 0, .externalAttributes = 0x40};
}

TEST(SymbolicLink, PointsAtItsTarget) {
    Scratch scratch;
    Archive archive{{{.name = "sub/file.txt", .data = "f"}, Link("sub/up.txt", "../top.txt"), Link("near", "sub/file.txt")}};
    EXPECT_EQ(ExtractFile(scratch, Build(archive)), "");
#ifndef _WIN32
    EXPECT_EQ(fs::read_symlink(scratch.out() / "near"), "sub/file.txt");
    EXPECT_EQ(fs::read_symlink(scratch.out() / "sub" / "up.txt"), "../top.txt");
    EXPECT_EQ(ReadFile(scratch.out() / "near"), "f");
#endif
}

TEST(SymbolicLink, WrongCrcMakesNoLink) {
    Scratch scratch;
    Entry link = Link("l", "sub");
    link.crc = 7;
    EXPECT_EQ(ExtractFile(scratch, Build(One(link))), "crc: Error reading zip file");
    EXPECT_EQ(Listing(scratch.out()), "");
}

class LinkEscapeTest : public testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(LinkEscapeTest, IsRefused) {
    Scratch scratch;
    const auto [name, target] = GetParam();
    const std::string outcome = ExtractFile(scratch, Build(One(Link(name, target))));
    EXPECT_EQ(outcome.substr(0, 32), "zip: Unsafe symbolic link target") << outcome;
    EXPECT_EQ(Listing(scratch.out()), "");
}

INSTANTIATE_TEST_SUITE_P(Targets, LinkEscapeTest,
                         testing::Values(std::pair{"up", ".."}, std::pair{"up", "../x"}, std::pair{"sub/up", "../../x"},
                                         std::pair{"abs", "/etc/passwd"}, std::pair{"drive", "C:\\Windows"},
                                         std::pair{"back", "..\\x"}, std::pair{"late", "sub/../../x"},
                                         std::pair{"through", "sub/link/.."}, std::pair{"device", "NUL"}));

// Links that each stay inside but lead out together, or meet one that was there.
TEST(SymbolicLink, NothingIsWrittenThroughALink) {
    struct Case {
        const char* title;
        Archive archive;
        std::string outcome;
    };
    const std::vector<Case> cases{
        {"chain", Archive{{Link("a/l", ".."), Link("a/l/m", ".."), {.name = "a/l/m/x.txt", .data = "x"}}},
         "zip: Unsafe entry name \"a\\l\\m\""},
        {"file in a link's place", Archive{{Link("l", "sub"), {.name = "L", .data = "x"}}}, "zip: Unsafe entry name \"L\""},
        {"link to itself", One(Link("s", "s")), "zip: Unsafe symbolic link target \"s\" in \"s\""},
#ifndef _WIN32
        {"below a link already there", One({.name = "old/x.txt", .data = "x"}), "zip: Unsafe entry name \"old\\x.txt\""},
        {"target through a link already there", One(Link("n", "old/x")),
         "zip: Unsafe symbolic link target \"old/x\" in \"n\""},
#endif
    };
    for (const Case& c : cases) {
        Scratch scratch;
#ifndef _WIN32
        fs::create_directory_symlink("..", scratch.out() / "old");
#endif
        EXPECT_EQ(ExtractFile(scratch, Build(c.archive)), c.outcome) << c.title;
        EXPECT_EQ(BesideTarget(scratch), "archive.zip") << c.title;
    }
}

}  // namespace
