// The string table and the resources of an executable that carries the
// installer's catalogue, read under Wine.
#include <Exception.h>
#include <LoadResText.h>
#include <ResourceStream.h>

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(LoadResText, ProductEntries) {
    EXPECT_EQ(LoadResText(1), L"Ketrova");
    EXPECT_EQ(LoadResText(2), L"2023");
    EXPECT_EQ(LoadResText(3), L"1");
    EXPECT_EQ(LoadResText(8), L"Ketrova.exe");
    EXPECT_EQ(LoadResText(100), L"Nao");
    EXPECT_EQ(LoadResText(101), L"Nao");
    EXPECT_EQ(L"\\" + LoadResText(1) + L"\\v" + LoadResText(2) + L"r" + LoadResText(3) + L"\\", L"\\Ketrova\\v2023r1\\");
}

TEST(LoadResText, LongEntryGivesItsFirst255Characters) {
    std::wstring expected;
    while (expected.size() < 300) expected += L"0123456789";
    const std::wstring text = LoadResText(300);
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text, expected.substr(0, 255));
}

TEST(ResourceStream, NamesMatchWithoutRegardToCase) {
    TResourceStream stored(L"PROGRAMA", RT_RCDATA);
    ASSERT_GT(stored.Size(), 22);
    char signature[4];
    ASSERT_EQ(stored.Read(signature, 4), 4u);
    EXPECT_EQ(std::string(signature, 4), std::string("PK\x03\x04", 4));
    for (const wchar_t* name : {L"programa", L"Programa"}) {
        TResourceStream asked(name, RT_RCDATA);
        EXPECT_EQ(asked.Memory(), stored.Memory()) << "read in place, not copied";
        EXPECT_EQ(asked.Size(), stored.Size());
    }
}

TEST(ResourceStream, TypeMatters) {
    TResourceStream picture(L"Fundo", L"JPEG");
    EXPECT_GT(picture.Size(), 0);
    try {
        TResourceStream wrongType(L"Fundo", RT_RCDATA);
        FAIL() << "FUNDO is no RCDATA resource";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Resource Fundo not found");
    }
}

}  // namespace
