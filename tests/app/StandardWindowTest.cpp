// The standard edition: its layout with the details panel closed and open.
#include "FormTest.h"

namespace {

TEST_F(SharedFormTest, TheStandardEditionReadsBothSwitchesOff) {
    TForm2& form = Form();
    EXPECT_FALSE(form.IsPluginParcial);
    EXPECT_FALSE(form.IsPluginFull);
    EXPECT_TRUE(form.PluginAllowed);
}

TEST_F(SharedFormTest, StandardPanelClosedShowsTheButtonsAndTheVersionOnly) {
    TForm2& form = Form();
    EXPECT_FALSE(form.ExibirSetupDetalhado);
    EXPECT_EQ(probe::ChildRect(form.Button1), Bounds(562, 395, 106, 33));
    EXPECT_EQ(probe::ChildRect(form.Button2), Bounds(674, 395, 106, 33));
    EXPECT_EQ(form.spButton->Bounds(), Bounds(522, 395, 34, 33));
    for (HWND shown : {form.Button1, form.Button2}) {
        EXPECT_TRUE(::IsWindowVisible(shown));
        EXPECT_TRUE(::IsWindowEnabled(shown));
    }
    EXPECT_TRUE(form.spButton->Visible());
    EXPECT_TRUE(form.spButton->Enabled());
    for (HWND hidden : {form.edPath, form.btExplorer, form.ckLinkDesktop->Handle(), form.ckLinkStartMenu->Handle(),
                        form.ckCloseAndRun->Handle(), form.ckAllUsers->Handle()}) {
        EXPECT_FALSE(::IsWindowVisible(hidden));
    }
    EXPECT_TRUE(form.lblKetrovaVersion->Visible());
    EXPECT_FALSE(form.lblTextoPlugin->Visible());
    EXPECT_FALSE(form.lblAddinVersion->Visible());
    EXPECT_EQ(form.lblKetrovaVersion->Left(), 375);
    EXPECT_EQ(form.lblKetrovaVersion->Top(), 50);
    EXPECT_EQ(form.lblTextoPlugin->Bounds(), Bounds(151, 162, 290, 110));
    EXPECT_EQ(form.lblAddinVersion->Bounds(), Bounds(120, 300, 200, 30));
    probe::SaveScreenshot(probe::CaptureScreen(form), L"standard-closed");
}

TEST_F(SharedFormTest, StandardPanelOpenShowsTheFolderAndTheBoxes) {
    TForm2& form = Form();
    probe::Click(form, 539, 411);
    EXPECT_TRUE(form.ExibirSetupDetalhado);
    EXPECT_EQ(probe::ChildRect(form.edPath), Bounds(80, 163, 637, 19));
    EXPECT_EQ(probe::ChildRect(form.btExplorer), Bounds(717, 162, 20, 21));
    const TVornTCheckBox* boxes[] = {form.ckLinkDesktop.get(), form.ckLinkStartMenu.get(), form.ckCloseAndRun.get(),
                                     form.ckAllUsers.get()};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(probe::ChildRect(boxes[row]->Handle()), Bounds(80, 212 + 32 * row, 360, 18)) << "box " << row;
        EXPECT_TRUE(::IsWindowVisible(boxes[row]->Handle()));
    }
    EXPECT_TRUE(::IsWindowVisible(form.edPath));
    EXPECT_TRUE(::IsWindowVisible(form.btExplorer));
    EXPECT_TRUE(::IsWindowEnabled(form.btExplorer));
    const probe::Capture screen = probe::CaptureScreen(form);
    // The edit's flat one-pixel border.
    EXPECT_EQ(screen.At(80, 170), ::GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(screen.At(716, 170), ::GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_NE(screen.At(81, 170), ::GetSysColor(COLOR_WINDOWFRAME));
    probe::SaveScreenshot(screen, L"standard-open");
    probe::Click(form, 539, 411);
    EXPECT_FALSE(form.ExibirSetupDetalhado);
}

// The area of a control on the screen, as the form's capture shows it.
probe::Capture Area(const TForm2& form, const RECT& r) {
    const probe::Capture screen = probe::CaptureScreen(form);
    probe::Capture area{r.right - r.left, r.bottom - r.top, {}};
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) area.pixels.push_back(screen.At(x, y));
    }
    return area;
}

TEST_F(SharedFormTest, TheKeyboardReachesTheToggleThePanelAndShowsAFocusedBox) {
    TForm2& form = Form();
    const RECT toggle = Bounds(522, 395, 34, 33);
    ::SetFocus(form.Button1);
    probe::Pump(1);
    const probe::Capture restingToggle = Area(form, toggle);
    // Closed panel: Install, Cancelar, then round to the toggle.
    probe::DialogKey(form, VK_TAB);
    probe::DialogKey(form, VK_TAB);
    ASSERT_EQ(::GetFocus(), form.spButton->KeysWindow());
    EXPECT_NE(Area(form, toggle), restingToggle) << "the focused toggle shows it";
    probe::DialogKey(form, VK_SPACE);
    ASSERT_TRUE(form.ExibirSetupDetalhado);
    std::vector<HWND> reached;
    for (int i = 0; i < 6; ++i) {
        probe::DialogKey(form, VK_TAB);
        reached.push_back(::GetFocus());
    }
    EXPECT_EQ(reached, (std::vector<HWND>{form.Button1, form.edPath, form.Button2, form.btExplorer,
                                          form.ckLinkDesktop->Handle(), form.ckLinkStartMenu->Handle()}));
    // The box that had the focus a moment ago, against itself focused.
    const RECT firstBox = Bounds(80, 212, 360, 18);
    const probe::Capture unfocused = Area(form, firstBox);
    ::SetFocus(form.ckLinkDesktop->Handle());
    probe::Pump(1);
    EXPECT_NE(Area(form, firstBox), unfocused) << "a focused box differs from an unfocused one";
    // Enter on the toggle closes the panel again.
    ::SetFocus(form.spButton->KeysWindow());
    probe::DialogKey(form, VK_RETURN);
    EXPECT_FALSE(form.ExibirSetupDetalhado);
    EXPECT_FALSE(probe::TakeQuitRequest()) << "Enter pressed the focused toggle, not Install";
    ::SetFocus(form.Button1);
}

}  // namespace
