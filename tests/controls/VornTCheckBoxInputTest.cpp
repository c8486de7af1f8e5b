// The option box's behaviour as a check box, driven by real input under Wine,
// and the proof that the platform's own check box drawing never reaches the screen.
#include "OptionBoxFixture.h"

#include "Handles.h"
#include "Messages.h"

#include <cwctype>
#include <functional>
#include <vector>

namespace {

class OptionBoxInputTest : public OptionBoxTest {
protected:
    void SetUp() override {
        OptionBoxTest::SetUp();
        box.OnClick = [this] { ++clicks; };
    }

    // The installer's box, shown, with its configuration's OnClick forgotten.
    void ShowInstallerBox(const std::wstring& caption = kDesktopCaption) {
        ConfigureOptionBox(box, host, caption);
        Show();
        clicks = 0;
    }
    LRESULT CheckCode() { return ::SendMessageW(box.Handle(), BM_GETCHECK, 0, 0); }
    // The installer's picture for the box's present state, with the pointer away.
    Picture Expected() {
        const Look& look = !box.Enabled() ? kInstallerInativo : box.Focused() ? kInstallerFocused : kInstallerAtivo;
        return InstallerPicture(look, box.Checked(), box.Caption());
    }
    win::UniqueWindow PlainButton(HWND parent) {
        return win::UniqueWindow(::CreateWindowExW(0, L"BUTTON", L"Outro", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 400,
                                                   20, 80, 24, parent, nullptr, nullptr, nullptr));
    }

    int clicks = 0;
};

TEST_F(OptionBoxInputTest, NewControlHasTheDefaultsOfACheckBox) {
    EXPECT_EQ(box.Handle(), nullptr);
    EXPECT_EQ(box.Width(), 97);
    EXPECT_EQ(box.Height(), 17);
    EXPECT_EQ(box.Alignment(), taLeftJustify);
    EXPECT_TRUE(box.Visible());
    EXPECT_TRUE(box.Enabled());
    EXPECT_EQ(box.State(), TCheckBoxState::cbUnchecked);
    EXPECT_FALSE(box.Focused());
    EXPECT_FALSE(box.MouseInClient());
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1) << "a change by code raises OnClick before the window exists too";
}

TEST_F(OptionBoxInputTest, WindowIsAThreeStateButtonAtTheEndOfTheTabOrder) {
    const win::UniqueWindow first = PlainButton(host);
    ConfigureOptionBox(box, host, kDesktopCaption);
    wchar_t className[16] = {};
    ::GetClassNameW(box.Handle(), className, 16);
    EXPECT_STREQ(className, L"Button");
    const LONG style = ::GetWindowLongW(box.Handle(), GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_3STATE);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & WS_VISIBLE) << "hidden until made visible";
    EXPECT_EQ(CheckCode(), BST_CHECKED);
    EXPECT_EQ(::GetWindow(first.get(), GW_HWNDLAST), box.Handle());
    EXPECT_EQ(box.Width(), 360);
    EXPECT_EQ(box.Height(), 18);

    TVornTCheckBox second;
    second.SetParent(host);
    EXPECT_EQ(::GetWindow(first.get(), GW_HWNDLAST), second.Handle());

    // Moved under another parent: last there too, and the pointer counts as outside.
    const win::UniqueWindow panel(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 60, 500, 100, host,
                                                    nullptr, nullptr, nullptr));
    const win::UniqueWindow inPanel = PlainButton(panel.get());
    box.SetVisible(true);
    MovePointerTo(box.Handle(), 9, 9);
    ASSERT_TRUE(box.MouseInClient());
    box.SetParent(panel.get());
    EXPECT_EQ(::GetParent(box.Handle()), panel.get());
    EXPECT_EQ(::GetWindow(inPanel.get(), GW_HWNDLAST), box.Handle());
    EXPECT_FALSE(box.MouseInClient());
}

// The suite runs twice, over each of the platform's two button classes.
TEST_F(OptionBoxInputTest, BaseIsTheExpectedButtonClass) {
    Show();
    HMODULE module = nullptr;
    const auto procedure = reinterpret_cast<LPCWSTR>(::GetClassLongPtrW(box.Handle(), GCLP_WNDPROC));
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         procedure, &module);
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring file(path);
    file = file.substr(file.find_last_of(L'\\') + 1);
    for (auto& c : file) c = static_cast<wchar_t>(::towlower(c));
#if KETROVA_THEMED_BUTTON
    EXPECT_EQ(file, L"comctl32.dll");
#else
    EXPECT_EQ(file, L"user32.dll");
#endif
}

TEST_F(OptionBoxInputTest, ClickFocusesAndToggles) {
    ShowInstallerBox();
    ClickAt(box.Handle(), 9, 9);
    PumpUntilIdle();
    EXPECT_TRUE(box.Focused());
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(CheckCode(), BST_UNCHECKED);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Differences(Screen(), InstallerPicture(kInstallerIluminado, false, kDesktopCaption)), "");

    ClickAt(box.Handle(), 150, 9);
    PumpUntilIdle();
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(CheckCode(), BST_CHECKED);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(Differences(Screen(), InstallerPicture(kInstallerIluminado, true, kDesktopCaption)), "");
    MovePointerAway();
    EXPECT_EQ(Differences(Screen(), Expected()), "") << "focused, pointer away";
}

std::vector<std::wstring> shownErrors;
void CollectError(const std::wstring& text) { shownErrors.push_back(text); }

TEST_F(OptionBoxInputTest, AnyFailureOfAHandlerIsShownAndStopsAtTheWindowProcedure) {
    ShowInstallerBox();
    box.OnClick = [] { throw 42; };
    shownErrors.clear();
    SetMessageSinkForTests(CollectError);
    ClickAt(box.Handle(), 9, 9);
    PumpUntilIdle();
    SetMessageSinkForTests(nullptr);
    EXPECT_EQ(shownErrors, std::vector<std::wstring>{L"Erro desconhecido"});
    EXPECT_TRUE(::IsWindow(box.Handle()));
}

TEST_F(OptionBoxInputTest, ClicksGoThroughGrayedWhenAllowed) {
    box.SetAllowGrayed(true);
    Show();
    const std::pair<TCheckBoxState, LRESULT> steps[] = {{TCheckBoxState::cbGrayed, BST_INDETERMINATE},
                                                        {TCheckBoxState::cbChecked, BST_CHECKED},
                                                        {TCheckBoxState::cbUnchecked, BST_UNCHECKED}};
    for (const auto& [state, code] : steps) {
        ClickAt(box.Handle(), 5, 8);
        PumpUntilIdle();
        EXPECT_EQ(box.State(), state);
        EXPECT_EQ(CheckCode(), code);
    }
    EXPECT_EQ(clicks, 3);
}

TEST_F(OptionBoxInputTest, SpaceTogglesTheFocusedBox) {
    ShowInstallerBox();
    ::SetFocus(box.Handle());
    PressKey(VK_SPACE);
    PumpUntilIdle(host);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Differences(Screen(), Expected()), "");
    PressKey(VK_SPACE);
    PumpUntilIdle(host);
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(Differences(Screen(), Expected()), "");
}

TEST_F(OptionBoxInputTest, CodeChangesRaiseOnClickOnlyOnChange) {
    ShowInstallerBox();
    box.SetChecked(true);
    EXPECT_EQ(clicks, 0);
    box.SetChecked(false);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(CheckCode(), BST_UNCHECKED);
    EXPECT_EQ(Differences(Screen(), Expected()), "");
    box.SetState(TCheckBoxState::cbGrayed);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(CheckCode(), BST_INDETERMINATE);
    box.SetChecked(true);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(Differences(Screen(), Expected()), "");
}

TEST_F(OptionBoxInputTest, DisabledBoxTakesNoInput) {
    ShowInstallerBox();
    box.SetEnabled(false);
    ClickAt(box.Handle(), 9, 9);
    PumpUntilIdle();
    EXPECT_TRUE(box.Checked());
    EXPECT_FALSE(box.Focused());
    EXPECT_FALSE(box.DialogChar(L'C'));
    EXPECT_EQ(clicks, 0);
    box.SetEnabled(true);
    ClickAt(box.Handle(), 9, 9);
    PumpUntilIdle();
    EXPECT_FALSE(box.Checked());
}

TEST_F(OptionBoxInputTest, HidingTheFocusedBoxTakesTheFocusAway) {
    Show();
    ::SetFocus(box.Handle());
    ASSERT_TRUE(box.Focused());
    box.SetVisible(false);
    EXPECT_FALSE(box.Focused());
    EXPECT_FALSE(::IsWindowVisible(box.Handle()));
}

TEST_F(OptionBoxInputTest, AcceleratorFocusesAndToggles) {
    ShowInstallerBox(L"&Criar atalho");
    PressAltWith('C');
    PumpUntilIdle(host);
    EXPECT_TRUE(box.Focused()) << "through the dialog manager";
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Differences(Screen(), Expected()), "");

    // Without a dialog manager the focused box sees the key itself.
    PressAltWith('C');
    PumpUntilIdle();
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(clicks, 2);

    EXPECT_FALSE(box.DialogChar(L'x'));
    ::SetFocus(host);
    EXPECT_TRUE(box.DialogChar(L'c'));
    EXPECT_TRUE(box.Focused());
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 3);
}

TEST_F(OptionBoxInputTest, WindowDestroyedWithItsParentLeavesTheControlWithout) {
    win::UniqueWindow panel(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 500, 100, host,
                                              nullptr, nullptr, nullptr));
    box.SetParent(panel.get());
    ASSERT_NE(box.Handle(), nullptr);
    panel.reset();
    EXPECT_EQ(box.Handle(), nullptr);
    EXPECT_FALSE(box.Focused());
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);
}

TEST_F(OptionBoxInputTest, TabReachesTheBox) {
    const win::UniqueWindow first = PlainButton(host);
    Show();
    ::SetFocus(first.get());
    PressKey(VK_TAB);
    PumpUntilIdle(host);
    EXPECT_TRUE(box.Focused());
}

// Each message on which the platform's check box draws itself at once, sent
// straight to the window: right after it the surface still shows the control's
// previous drawing, and once the queue is empty its own drawing of the new state.
TEST_F(OptionBoxInputTest, PlatformDrawingNeverReachesTheWindow) {
    ShowInstallerBox(L"&Criar atalho");
    HWND window = box.Handle();
    struct Step {
        const char* name;
        std::function<void()> act;
    } const steps[] = {
        {"BM_SETCHECK", [&] { ::SendMessageW(window, BM_SETCHECK, BST_UNCHECKED, 0); }},
        {"BM_SETCHECK indeterminate", [&] { ::SendMessageW(window, BM_SETCHECK, BST_INDETERMINATE, 0); }},
        {"BM_SETSTATE pushed", [&] { ::SendMessageW(window, BM_SETSTATE, TRUE, 0); }},
        {"BM_SETSTATE released", [&] { ::SendMessageW(window, BM_SETSTATE, FALSE, 0); }},
        {"BM_SETSTYLE", [&] { ::SendMessageW(window, BM_SETSTYLE, BS_3STATE, TRUE); }},
        {"focus", [&] { ::SetFocus(window); }},
        {"UI state", [&] { ::SendMessageW(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0); }},
        {"UI state change", [&] { ::SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0); }},
        {"text", [&] { ::SetWindowTextW(window, L"&Outro texto"); }},
        {"font", [&] { ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(SYSTEM_FONT)), TRUE); }},
        {"space down", [&] { ::SendMessageW(window, WM_KEYDOWN, VK_SPACE, 0); }},
        {"space up", [&] { ::SendMessageW(window, WM_KEYUP, VK_SPACE, 0); }},
        {"button down", [&] { ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }},
        {"button up", [&] { ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }},
        {"click", [&] { ::SendMessageW(window, BM_CLICK, 0, 0); }},
        {"disable", [&] { ::EnableWindow(window, FALSE); }},
        {"enable", [&] { ::EnableWindow(window, TRUE); }},
        {"focus lost", [&] { ::SetFocus(host); }},
        {"system colours", [&] { ::SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0); }},
        {"code", [&] { box.SetChecked(!box.Checked()); }},
    };
    for (const auto& step : steps) {
        const Picture before = CaptureSurface(window);
        step.act();
        EXPECT_EQ(Differences(CaptureSurface(window), before), "") << step.name << ": drawn outside WM_PAINT";
        PumpUntilIdle();
        // The window's text and enabled state may be changed behind the control's
        // back; it draws its own caption and its own Enabled.
        const Picture expected = Expected();
        EXPECT_EQ(Differences(CaptureSurface(window), expected), "") << step.name << ": own drawing afterwards";
        EXPECT_EQ(Differences(Screen(), expected), "") << step.name << ": on the screen";
    }
}

}  // namespace
