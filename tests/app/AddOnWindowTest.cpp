// Both add-on editions: their layout and the add-on version label.
#include "FormTest.h"

namespace {

TEST_F(SharedFormTest, AddOnEditionsUseTheAddOnLayout) {
    TForm2& form = Form();
    EXPECT_TRUE(form.IsPluginParcial || form.IsPluginFull);
    EXPECT_EQ(probe::ChildRect(form.edPath), Bounds(355, 163, 375, 19));
    EXPECT_EQ(probe::ChildRect(form.btExplorer), Bounds(730, 162, 20, 21));
    const TVornTCheckBox* boxes[] = {form.ckLinkDesktop.get(), form.ckLinkStartMenu.get(), form.ckCloseAndRun.get(),
                                     form.ckAllUsers.get()};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(probe::ChildRect(boxes[row]->Handle()), Bounds(355, 212 + 32 * row, 360, 18)) << "box " << row;
    }
    EXPECT_EQ(form.lblTextoPlugin->Bounds(), Bounds(400, 222, 290, 110));
    EXPECT_EQ(form.lblKetrovaVersion->Left(), 485);
    EXPECT_EQ(form.lblKetrovaVersion->Top(), 59);
    EXPECT_EQ(probe::ChildRect(form.Button1), Bounds(562, 395, 106, 33));
    EXPECT_EQ(probe::ChildRect(form.Button2), Bounds(674, 395, 106, 33));
}

TEST_F(SharedFormTest, AddOnEditionsShowAnEmptyAddOnVersionLabel) {
    TForm2& form = Form();
    const TLabel& label = *form.lblAddinVersion;
    EXPECT_TRUE(label.Visible());
    EXPECT_EQ(label.Caption(), L"");
    EXPECT_EQ(label.FontColour(), 0x004A2B0Au);
    EXPECT_EQ(label.Left(), 50);
    EXPECT_EQ(label.Top(), 400);
    // Measured as one space: a narrow line of text.
    EXPECT_GT(label.Width(), 0);
    EXPECT_LT(label.Width(), 10);
    EXPECT_GT(label.Height(), 5);
    EXPECT_LT(label.Height(), 20);
    LOGFONTW font{};
    ::GetObjectW(label.Font(), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"Verdana");
    EXPECT_EQ(font.lfHeight, -8);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
}

TEST_F(SharedFormTest, AddOnPanelOpenPicture) {
    TForm2& form = Form();
    const bool panelOpen = form.ExibirSetupDetalhado;
    form.SetDetailsVisible(true);
    probe::SaveScreenshot(probe::CaptureScreen(form),
                          form.IsPluginParcial ? L"parcial-unacceptable" : L"addon-open");
    EXPECT_TRUE(::IsWindowVisible(form.edPath));
    EXPECT_TRUE(::IsWindowVisible(form.btExplorer));
    form.SetDetailsVisible(panelOpen);
}

}  // namespace
