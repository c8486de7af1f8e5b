// InstallFromResource with the real payload of this executable, under Wine.
#include "Scratch.h"

#include <Handles.h>
#include <MemoryStream.h>
#include <Messages.h>
#include <ResourceStream.h>
#include <ZipFile.h>
#include <EarlierInstallation.h>
#include <ExitCodes.h>
#include <Failure.h>
#include <clInstallFromResource.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <set>

namespace fs = std::filesystem;
using ziptest::Scratch;

namespace {

std::vector<std::wstring> shown;
void Collect(const std::wstring& text) { shown.push_back(text); }

class InstallFromResourceTest : public testing::Test {
protected:
    void SetUp() override {
        shown.clear();
        SetMessageSinkForTests(Collect);
    }
    void TearDown() override { SetMessageSinkForTests(nullptr); }

    Scratch scratch;
    std::wstring Target() const { return (scratch.root() / "Target").wstring() + L"\\"; }

    // The cause the operation reports, which it never shows itself.
    FailureCause Failure(const std::wstring& resource, const std::wstring& folder) {
        try {
            InstallFromResource(resource, folder);
        } catch (const EStepFailed& failed) {
            EXPECT_TRUE(shown.empty());
            return failed.Cause();
        }
        ADD_FAILURE() << "the installation succeeded";
        return {};
    }
};

FILETIME FileTimeOfEntry(std::uint32_t dosDateTime) {
    FILETIME local;
    FILETIME utc;
    EXPECT_TRUE(::DosDateTimeToFileTime(HIWORD(dosDateTime), LOWORD(dosDateTime), &local));
    EXPECT_TRUE(::LocalFileTimeToFileTime(&local, &utc));
    return utc;
}

std::uint64_t Ticks(const FILETIME& t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; }

TEST_F(InstallFromResourceTest, ExtractsTheWholePayload) {
    ASSERT_EQ(InstallFromResource(L"Programa", Target()).files.size(), 85u);
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(fs::exists(Target() + L"Programa.zip"));

    TResourceStream resource(L"Programa", RT_RCDATA);
    TZipFile zip;
    zip.Open(resource, TZipMode::zmRead);
    ASSERT_EQ(zip.FileCount(), 85);
    std::set<std::wstring> folders;
    for (int i = 0; i < zip.FileCount(); ++i) {
        std::wstring name = zip.FileName(i);
        std::replace(name.begin(), name.end(), L'/', L'\\');
        if (const auto slash = name.find(L'\\'); slash != std::wstring::npos) folders.insert(name.substr(0, slash));
        const std::wstring path = Target() + name;
        SCOPED_TRACE(testing::Message() << fs::path(path).string());
        EXPECT_EQ(fs::file_size(path), zip.FileInfo(i).GetUncompressedSize64());
        EXPECT_EQ(::GetFileAttributesW(path.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
        const win::UniqueFile file(
            ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file);
        FILETIME created, accessed, written;
        ::GetFileTime(file.get(), &created, &accessed, &written);
        const std::uint64_t expected = Ticks(FileTimeOfEntry(zip.FileInfo(i).ModifiedDateTime));
        EXPECT_EQ(Ticks(created), expected);
        EXPECT_EQ(Ticks(written), expected);
    }
    EXPECT_EQ(folders.size(), 10u);
    std::size_t subfolders = 0;
    for (const auto& entry : fs::directory_iterator(Target())) subfolders += entry.is_directory() ? 1 : 0;
    EXPECT_EQ(subfolders, 10u);
}

TEST_F(InstallFromResourceTest, MissingResourceFailsAfterMakingTheFolder) {
    const FailureCause cause = Failure(L"Nada", Target());
    EXPECT_EQ(cause.text, L"Resource Nada not found");
    EXPECT_EQ(cause.path, Target() + L"Nada.zip");
    EXPECT_TRUE(fs::is_directory(Target()));
    EXPECT_FALSE(fs::exists(Target() + L"Nada.zip"));
}

TEST_F(InstallFromResourceTest, LeftoverArchiveIsReplacedAndRemoved) {
    fs::create_directories(Target());
    scratch.Write("Target/Programa.zip", "left over from an earlier run");
    InstallFromResource(L"Programa", Target());
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(fs::exists(Target() + L"Programa.zip"));
    EXPECT_TRUE(fs::exists(Target() + L"Ketrova.exe"));
}

TEST_F(InstallFromResourceTest, FolderWithoutSeparatorGetsTheArchiveBesideIt) {
    const std::wstring folder = (scratch.root() / "Target").wstring();
    // A folder where the archive would go beside the target stops the installation.
    fs::create_directories(folder + L"Programa.zip");
    EXPECT_EQ(Failure(L"Programa", folder).systemCode, static_cast<unsigned long>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(fs::is_directory(folder + L"Programa.zip"));
    EXPECT_FALSE(fs::exists(folder + L"\\Ketrova.exe"));
}

TEST_F(InstallFromResourceTest, SuccessWithoutSeparatorLeavesNoArchive) {
    const std::wstring folder = (scratch.root() / "Target").wstring();
    InstallFromResource(L"Programa", folder);
    EXPECT_TRUE(fs::exists(folder + L"\\Ketrova.exe"));
    EXPECT_FALSE(fs::exists(folder + L"Programa.zip"));
}

TEST_F(InstallFromResourceTest, UnwritableTargetNamesTheFolderAndTheSystemsCode) {
    // Z: is the Unix root under Wine; nobody may create folders in /proc.
    const FailureCause cause = Failure(L"Programa", L"Z:\\proc\\KetrovaTarget\\");
    EXPECT_EQ(cause.step, L"make the folder");
    EXPECT_EQ(cause.path, L"Z:\\proc\\KetrovaTarget\\");
    EXPECT_NE(cause.systemCode, 0u);
    EXPECT_FALSE(cause.damagedInstaller);
}

TEST_F(InstallFromResourceTest, ExistingReadOnlyFileStopsTheExtraction) {
    fs::create_directories(Target());
    const fs::path kept = scratch.Write("Target/Ketrova.exe", "older");
    ::SetFileAttributesW(kept.wstring().c_str(), FILE_ATTRIBUTE_READONLY);
    const FailureCause cause = Failure(L"Programa", Target());
    EXPECT_EQ(cause.step, L"extract the payload");
    // The file system refused, not the payload: access denied, not a damaged installer.
    EXPECT_EQ(ExitCodeFor(cause), kExitAccessDenied) << DescribeFailure(cause);
    EXPECT_TRUE(ziptest::ReadFile(kept) == "older");
    EXPECT_FALSE(fs::exists(Target() + L"Programa.zip"));
}

// Over a folder with files of its own: a failure late in the archive (a folder
// where its last file goes) puts back what was replaced and removes the rest;
// so does the next run after one cut short, from the journal it left.
TEST_F(InstallFromResourceTest, FailureOverOtherFilesLeavesThemAsTheyWere) {
    fs::create_directories(Target() + L"Storage\\StoreSync.dll");
    const fs::path replaced = scratch.Write("Target/Ketrova.exe", "older");
    const fs::path own = scratch.Write("Target/notes.txt", "mine");
    Failure(L"Programa", Target());
    EXPECT_EQ(ziptest::Listing(Target()), "Ketrova.exe Storage/ Storage/StoreSync.dll/ notes.txt");
    EXPECT_TRUE(ziptest::ReadFile(replaced) == "older");
    EXPECT_TRUE(ziptest::ReadFile(own) == "mine");
}

TEST_F(InstallFromResourceTest, RunCutShortOverOtherFilesIsRolledBackNextTime) {
    fs::create_directories(Target() + L"Programa.anterior");
    fs::create_directories(Target() + L"Charts");
    scratch.Write("Target/Programa.anterior/Ketrova.exe", "older");
    scratch.Write("Target/Ketrova.exe", "new, half written");
    scratch.Write("Target/Charts/ChartAxes.dll", "new");
    scratch.Write("Target/Programa.journal", "/ Charts\n- Charts\\ChartAxes.dll\n+ Ketrova.exe\n- Codecs\\CodecImage.dll\n");
    RecoverInterruptedInstallation(Target(), L"Ketrova.exe");
    EXPECT_EQ(ziptest::Listing(Target()), "Ketrova.exe");
    EXPECT_TRUE(ziptest::ReadFile(Target() + L"Ketrova.exe") == "older");
}

// A run cut short after its extraction completed: what it replaced goes, but a
// file that differs from its new one may be somebody's and stays beside it.
TEST_F(InstallFromResourceTest, ACompletedRunCutShortKeepsTheReplacedFilesThatDiffer) {
    fs::create_directories(Target() + L"Programa.anterior");
    scratch.Write("Target/Programa.anterior/notas.txt", "mine");
    scratch.Write("Target/Programa.anterior/same.txt", "same");
    scratch.Write("Target/notas.txt", "the payload's");
    scratch.Write("Target/same.txt", "same");
    scratch.Write("Target/Programa.journal", "+ notas.txt\n+ same.txt\n=\n");
    RecoverInterruptedInstallation(Target(), L"Ketrova.exe");
    EXPECT_TRUE(ziptest::ReadFile(Target() + L"notas (do usu\u00E1rio).txt") == "mine");
    EXPECT_TRUE(ziptest::ReadFile(Target() + L"notas.txt") == "the payload's");
    EXPECT_FALSE(fs::exists(Target() + L"same (do usu\u00E1rio).txt"));
    EXPECT_FALSE(fs::exists(Target() + L"Programa.anterior"));
    EXPECT_FALSE(fs::exists(Target() + L"Programa.journal"));
}

}  // namespace
