// The partial add-on edition accepts only a folder that holds the product.
#include "FormTest.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;

void ExpectUnacceptable(TForm2& form) {
    EXPECT_FALSE(form.PluginAllowed);
    EXPECT_FALSE(::IsWindowEnabled(form.Button1));
    EXPECT_FALSE(form.spButton->Enabled());
    EXPECT_TRUE(form.lblTextoPlugin->Visible());
    EXPECT_EQ(form.lblTextoPlugin->Caption(),
              L"Ketrova não encontrado na pasta selecionada. Esse é um plugin que requer que o programa "
              L"Ketrova esteja instalado.");
    EXPECT_TRUE(form.ExibirSetupDetalhado);
    EXPECT_TRUE(::IsWindowVisible(form.edPath));
    EXPECT_TRUE(::IsWindowVisible(form.btExplorer));
    for (const TVornTCheckBox* box :
         {form.ckLinkDesktop.get(), form.ckLinkStartMenu.get(), form.ckCloseAndRun.get(), form.ckAllUsers.get()}) {
        EXPECT_FALSE(::IsWindowVisible(box->Handle()));
    }
}

TEST_F(SharedFormTest, TheStartUpProposalWithoutTheProductIsUnacceptable) {
    TForm2& form = Form();
    EXPECT_TRUE(form.IsPluginParcial);
    EXPECT_FALSE(form.IsPluginFull);
    ExpectUnacceptable(form);
    // The toggle cannot close the panel now, and Enter finds no default button.
    probe::Click(form, 539, 411);
    EXPECT_TRUE(form.ExibirSetupDetalhado);
    EXPECT_EQ(::SendMessageW(form.Handle(), DM_GETDEFID, 0, 0), 0);
}

TEST_F(SharedFormTest, TheNoticeIsDrawnOverThePanel) {
    TForm2& form = Form();
    const probe::Capture screen = probe::CaptureScreen(form);
    const RECT& notice = form.lblTextoPlugin->Bounds();
    int white = 0;
    int panel = 0;
    for (int y = notice.top; y < notice.bottom; ++y) {
        for (int x = notice.left; x < notice.right; ++x) {
            white += screen.At(x, y) == RGB(255, 255, 255);
            panel += screen.At(x, y) == 0x0021130D;
        }
    }
    EXPECT_GT(white, 200);
    EXPECT_GT(panel, (notice.right - notice.left) * (notice.bottom - notice.top) / 2);
}

class PartialFormTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        root_ = fs::temp_directory_path() / L"ketrova-partial-test";
        fs::remove_all(root_);
        fs::create_directories(root_ / L"with-product");
        std::FILE* exe = _wfopen((root_ / L"with-product" / L"Ketrova.exe").c_str(), L"wb");
        ASSERT_NE(exe, nullptr);
        std::fclose(exe);
        fs::create_directories(root_ / L"with-folder" / L"Ketrova.exe");
        fs::create_directories(root_ / L"empty");
    }
    void TearDown() override {
        FormTest::TearDown();
        fs::remove_all(root_);
    }
    std::wstring Folder(const wchar_t* name) const { return (root_ / name).wstring() + L"\\"; }

    fs::path root_;
};

TEST_F(PartialFormTest, TheWindowMovesBetweenItsTwoStatesAtEachFolderChange) {
    TForm2& form = Open();
    // A directory named like the product does not count.
    form.SetPathText(Folder(L"with-folder"));
    ExpectUnacceptable(form);

    // The edit's own change notice runs the check too.
    ::SetWindowTextW(form.edPath, Folder(L"with-product").c_str());
    probe::Pump(1);
    EXPECT_TRUE(form.PluginAllowed);
    EXPECT_TRUE(::IsWindowEnabled(form.Button1));
    EXPECT_TRUE(form.spButton->Enabled());
    EXPECT_FALSE(form.lblTextoPlugin->Visible());
    EXPECT_TRUE(form.ExibirSetupDetalhado);
    for (const TVornTCheckBox* box :
         {form.ckLinkDesktop.get(), form.ckLinkStartMenu.get(), form.ckCloseAndRun.get(), form.ckAllUsers.get()}) {
        EXPECT_TRUE(::IsWindowVisible(box->Handle()));
    }
    EXPECT_EQ(::SendMessageW(form.Handle(), DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    probe::SaveScreenshot(probe::CaptureScreen(form), L"parcial-acceptable");

    // Now the toggle closes the panel, and an unacceptable folder opens it again.
    probe::Click(form, 539, 411);
    EXPECT_FALSE(form.ExibirSetupDetalhado);
    form.SetPathText(Folder(L"empty"));
    ExpectUnacceptable(form);
}

}  // namespace
