// An executable built without the payload: the missing resource, and the real
// message box that InstallFromResource shows for it.
#include "Scratch.h"

#include <Exception.h>
#include <Messages.h>
#include <ResourceStream.h>
#include <clInstallFromResource.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

namespace fs = std::filesystem;

namespace {

TEST(NoPayload, ResourceNotFoundNamesTheResourceAsAsked) {
    for (const wchar_t* name : {L"Programa", L"programa"}) {
        try {
            TResourceStream stream(name, RT_RCDATA);
            FAIL() << "this executable carries no payload";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), std::wstring(L"Resource ") + name + L" not found");
        }
    }
}

struct SeenBox {
    std::wstring text;
    bool hasIcon = false;
    bool hasCancel = false;
};

// Waits for the box captioned with the application's title, reads it and presses OK.
SeenBox CloseBoxWhenShown(const std::atomic<bool>& done) {
    SeenBox seen;
    const std::wstring title = ApplicationTitle();
    while (!done) {
        if (HWND box = ::FindWindowW(L"#32770", title.c_str())) {
            wchar_t text[512]{};
            ::GetDlgItemTextW(box, 0xFFFF, text, 512);
            seen.text = text;
            seen.hasIcon = ::GetDlgItem(box, 0x14) != nullptr && ::IsWindowVisible(::GetDlgItem(box, 0x14));
            seen.hasCancel = ::GetDlgItem(box, IDCANCEL) != nullptr;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            break;
        }
        ::Sleep(50);
    }
    return seen;
}

TEST(NoPayload, InstallShowsThePlainMessageBoxAndMakesNoArchive) {
    ziptest::Scratch scratch;
    const std::wstring target = (scratch.root() / "Target").wstring() + L"\\";
    std::atomic<bool> done{false};
    SeenBox seen;
    std::thread watcher([&] { seen = CloseBoxWhenShown(done); });
    const bool installed = InstallFromResource(L"Programa", target);
    done = true;
    watcher.join();
    EXPECT_FALSE(installed);
    EXPECT_EQ(seen.text,
              L"Erro detectado durante o processo de instalação. É provável que você precise de privilégio de "
              L"administrador para realizar essa tarefa.");
    EXPECT_FALSE(seen.hasIcon);
    EXPECT_FALSE(seen.hasCancel);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_FALSE(fs::exists(target + L"Programa.zip"));
}

}  // namespace
