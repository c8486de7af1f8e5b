// What every edition's window shares: the window itself, its controls'
// fonts and order, the keyboard, the busy state and the pictures.
#include "FormTest.h"

#include "Exception.h"
#include "Messages.h"
#include "unitFolders.h"

#include <algorithm>
#include <cstdlib>

namespace {

using probe::Capture;

TEST_F(SharedFormTest, TheWindowIsABorderlessPictureCentredInTheWorkArea) {
    TForm2& form = Form();
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT window{};
    ::GetWindowRect(form.Handle(), &window);
    const int left = std::max(area.left, area.left + (area.right - area.left - 800) / 2);
    const int top = std::max(area.top, area.top + (area.bottom - area.top - 450) / 2);
    EXPECT_EQ(window, Bounds(left, top, 800, 450));
    RECT client{};
    ::GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client, Bounds(0, 0, 800, 450));
    EXPECT_TRUE(probe::HasStyle(form.Handle(), WS_POPUP | WS_VISIBLE));
    EXPECT_FALSE(probe::HasStyle(form.Handle(), WS_SYSMENU));
    EXPECT_FALSE(probe::HasStyle(form.Handle(), WS_CAPTION));
    EXPECT_TRUE(::GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    wchar_t caption[64] = {};
    ::GetWindowTextW(form.Handle(), caption, 64);
    EXPECT_STREQ(caption, L"Instalador do Ketrova");
    EXPECT_NE(::SendMessageW(form.Handle(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(::SendMessageW(form.Handle(), WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_NE(::GetClassLongPtrW(form.Handle(), GCLP_HICON), 0);
}

TEST_F(FormTest, TheWindowIsCentredInAWorkAreaWithTheTaskBarAtTheTopOrLeft) {
    RECT original{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &original, 0);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        RECT area;
        POINT expected;
    };
    const Case cases[] = {
        {{0, 40, screenWidth, screenHeight}, {(screenWidth - 800) / 2, 40 + (screenHeight - 40 - 450) / 2}},
        {{60, 0, screenWidth, screenHeight}, {60 + (screenWidth - 60 - 800) / 2, (screenHeight - 450) / 2}},
    };
    for (const Case& c : cases) {
        RECT area = c.area;
        ASSERT_TRUE(::SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0));
        TForm2& form = Open();
        RECT window{};
        ::GetWindowRect(form.Handle(), &window);
        EXPECT_EQ(window, Bounds(c.expected.x, c.expected.y, 800, 450)) << "work area " << c.area;
        form_.reset();
    }
    ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &original, 0);
}

TEST_F(SharedFormTest, WindowedControlsUseTheWindowFontAndComeInTabOrder) {
    TForm2& form = Form();
    const std::vector<HWND> expected{form.spButton->KeysWindow(),
                                     form.Button1,
                                     form.edPath,
                                     form.Button2,
                                     form.btExplorer,
                                     form.ckLinkDesktop->Handle(),
                                     form.ckLinkStartMenu->Handle(),
                                     form.ckCloseAndRun->Handle(),
                                     form.ckAllUsers->Handle()};
    EXPECT_EQ(probe::Children(form.Handle()), expected);
    for (HWND control : expected) EXPECT_TRUE(probe::HasStyle(control, WS_TABSTOP));
    for (HWND control : {form.Button1, form.edPath, form.Button2, form.btExplorer}) {
        const probe::FontInfo font = probe::ControlFont(control);
        EXPECT_EQ(font.face, L"Tahoma");
        EXPECT_EQ(font.height, -11);
        EXPECT_EQ(font.charset, DEFAULT_CHARSET);
    }
    wchar_t text[32] = {};
    ::GetWindowTextW(form.Button1, text, 32);
    EXPECT_STREQ(text, L"Install");
    ::GetWindowTextW(form.Button2, text, 32);
    EXPECT_STREQ(text, L"Cancelar");
    ::GetWindowTextW(form.btExplorer, text, 32);
    EXPECT_STREQ(text, L"...");
    EXPECT_TRUE(probe::HasStyle(form.Button1, BS_DEFPUSHBUTTON));
    // The edit takes WS_BORDER off its window and draws the flat border itself.
    EXPECT_TRUE(probe::HasStyle(form.edPath, ES_READONLY | ES_AUTOHSCROLL));
    EXPECT_FALSE(::GetWindowLongW(form.edPath, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(SharedFormTest, TheOptionBoxesStartCheckedWithTheirCaptions) {
    TForm2& form = Form();
    const std::pair<TVornTCheckBox*, const wchar_t*> boxes[] = {
        {form.ckLinkDesktop.get(), L"Criar atalho na área de trabalho"},
        {form.ckLinkStartMenu.get(), L"Criar atalho no menu inicial"},
        {form.ckCloseAndRun.get(), L"Executar o programa após instalação"},
        {form.ckAllUsers.get(), L"Instalar para todos os usuários (Administrador)"},
    };
    for (const auto& [box, caption] : boxes) {
        EXPECT_EQ(box->Caption(), caption);
        EXPECT_TRUE(box->Checked());
        EXPECT_EQ(::SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_TRUE(::IsWindowEnabled(box->Handle()));
        EXPECT_EQ(box->Width(), 360);
        EXPECT_EQ(box->Height(), 18);
        EXPECT_EQ(box->FontSize(), 11);
        EXPECT_EQ(box->CorFundoAtivo(), 0x0021130Du);
        EXPECT_EQ(box->CorTextoAtivo(), 0x00C0C0C0u);
        EXPECT_EQ(box->CorBoxIluminado(), 0x009E4E20u);
        EXPECT_EQ(box->CorSquareInativo(), 0x00ABABABu);
    }
}

TEST_F(SharedFormTest, AnAdministratorIsProposedTheProgramFilesFolder) {
    TForm2& form = Form();
    EXPECT_EQ(form.SpecificFolder, L"\\Ketrova\\v2023r1\\");
    EXPECT_EQ(form.PathText(), GetSpecialFolder(38) + L"\\Ketrova\\v2023r1\\");
    if (sizeof(void*) == 4) {
        // The shipped 32-bit installer gets the 32-bit program files folder.
        EXPECT_EQ(form.PathText(), L"C:\\Program Files (x86)\\Ketrova\\v2023r1\\");
    }
    EXPECT_TRUE(form.ckAllUsers->Checked());
    EXPECT_TRUE(::IsWindowEnabled(form.ckAllUsers->Handle()));
}

TEST_F(FormTest, OtherUsersAreProposedTheirLocalApplicationDataFolder) {
    TForm2& form = Open(probe::NotAdministrator);
    const std::wstring roaming = GetSpecialFolder(26);
    ASSERT_NE(roaming.find(L"\\AppData\\Roaming"), std::wstring::npos);
    std::wstring local = roaming;
    local.replace(local.find(L"Roaming"), 7, L"Local");
    EXPECT_EQ(form.PathText(), local + L"\\Ketrova\\v2023r1\\");
    EXPECT_FALSE(form.ckAllUsers->Checked());
    EXPECT_FALSE(::IsWindowEnabled(form.ckAllUsers->Handle()));
    for (TVornTCheckBox* box : {form.ckLinkDesktop.get(), form.ckLinkStartMenu.get(), form.ckCloseAndRun.get()}) {
        EXPECT_TRUE(box->Checked());
    }
}

TEST_F(SharedFormTest, TogglingAllUsersLeavesTheProposalAlone) {
    TForm2& form = Form();
    const std::wstring proposed = form.PathText();
    form.ckAllUsers->SetChecked(false);
    probe::Pump(1);
    EXPECT_EQ(form.PathText(), proposed);
    form.ckAllUsers->SetChecked(true);
}

TEST_F(FormTest, EscapePressesCancelarWhichHidesTheWindowAndQuits) {
    TForm2& form = Open();
    ::SetFocus(form.Button1);
    probe::DialogKey(form, VK_ESCAPE);
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    EXPECT_TRUE(probe::TakeQuitRequest());
}

TEST_F(SharedFormTest, InstallIsTheDefaultButtonWhileItCanBePressed) {
    TForm2& form = Form();
    const LRESULT expected = ::IsWindowEnabled(form.Button1) ? MAKELRESULT(IDOK, DC_HASDEFID) : 0;
    EXPECT_EQ(::SendMessageW(form.Handle(), DM_GETDEFID, 0, 0), expected);
}

TEST_F(SharedFormTest, TabMovesThroughTheVisibleControlsInOrder) {
    TForm2& form = Form();
    const bool panelOpen = form.ExibirSetupDetalhado;
    form.SetDetailsVisible(true);
    probe::Pump(1);
    std::vector<HWND> expected{form.Button1, form.edPath, form.Button2, form.btExplorer};
    if (form.spButton->Enabled()) expected.insert(expected.begin(), form.spButton->KeysWindow());
    if (form.PluginAllowed) {
        for (TVornTCheckBox* box : {form.ckLinkDesktop.get(), form.ckLinkStartMenu.get(), form.ckCloseAndRun.get(),
                                    form.ckAllUsers.get()}) {
            expected.push_back(box->Handle());
        }
    }
    if (!::IsWindowEnabled(form.Button1)) std::erase(expected, form.Button1);
    ::SetFocus(expected.front());
    std::vector<HWND> visited{::GetFocus()};
    for (std::size_t i = 1; i <= expected.size(); ++i) {
        probe::DialogKey(form, VK_TAB);
        visited.push_back(::GetFocus());
    }
    expected.push_back(expected.front());
    EXPECT_EQ(visited, expected);
    form.SetDetailsVisible(panelOpen);
}

TEST_F(FormTest, TheBusyStateClosesThePanelDisablesTheButtonsAndShowsTheHourglass) {
    TForm2& form = Open();
    form.SetDetailsVisible(true);
    form.EnterBusyState();
    EXPECT_FALSE(form.ExibirSetupDetalhado);
    EXPECT_FALSE(::IsWindowVisible(form.edPath));
    EXPECT_FALSE(::IsWindowEnabled(form.Button1));
    EXPECT_FALSE(::IsWindowEnabled(form.Button2));
    EXPECT_FALSE(form.spButton->Enabled());
    EXPECT_EQ(::SendMessageW(form.Handle(), DM_GETDEFID, 0, 0), 0);
    const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
    for (HWND window : {form.Handle(), form.Button1, form.edPath}) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        ::SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(::GetCursor(), wait);
    }
    // A disabled toggle takes no click.
    probe::Click(form, 539, 411);
    EXPECT_FALSE(form.ExibirSetupDetalhado);
    // Nor does Escape reach Cancelar.
    probe::DialogKey(form, VK_ESCAPE);
    EXPECT_TRUE(::IsWindowVisible(form.Handle()));
    EXPECT_FALSE(probe::TakeQuitRequest());
}

TEST_F(SharedFormTest, TheBackgroundIsThePictureMadeTheWindowsSizeOnce) {
    TForm2& form = Form();
    const bool panelOpen = form.ExibirSetupDetalhado;
    form.SetDetailsVisible(false);
    ASSERT_EQ(form.bmpFundo->Width(), 800);
    ASSERT_EQ(form.bmpFundo->Height(), 450);
    const Capture screen = probe::CaptureScreen(form);
    const Capture shown = probe::StretchReference(form.bmpFundo->Handle(), 800, 450);
    // Averaged areas stay close to the whole picture with rows and columns dropped.
    const TBitmap whole = LoadJpegResource(L"Fundo");
    ASSERT_EQ(whole.Width(), 1920);
    const Capture dropped = probe::StretchReference(whole.Handle(), 800, 450);
    long difference = 0;
    for (std::size_t i = 0; i < shown.pixels.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            difference += std::abs(int(shown.pixels[i] >> shift & 0xFF) - int(dropped.pixels[i] >> shift & 0xFF));
        }
    }
    EXPECT_LE(difference / long(shown.pixels.size() * 3), 2) << "mean difference per channel";
    // Points clear of the logo, the labels and the buttons.
    for (const POINT p : {POINT{0, 0}, POINT{799, 0}, POINT{0, 449}, POINT{799, 449}, POINT{300, 200},
                          POINT{150, 420}, POINT{760, 20}, POINT{200, 300}, POINT{130, 50}}) {
        EXPECT_EQ(screen.At(p.x, p.y), shown.At(p.x, p.y)) << "at " << p.x << ", " << p.y;
    }
    form.SetDetailsVisible(panelOpen);
}

TEST_F(SharedFormTest, TheLogoIsStretchedIntoItsSquare) {
    TForm2& form = Form();
    const win::UniqueBitmap logo(static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"Logo", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    ::GetObjectW(logo.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 195);
    EXPECT_EQ(info.bmHeight, 188);
    const Capture screen = probe::CaptureScreen(form);
    const Capture reference = probe::StretchReference(logo.get(), 90, 90);
    int same = 0;
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < 90; ++x) same += screen.At(20 + x, 10 + y) == reference.At(x, y);
    }
    EXPECT_EQ(same, 90 * 90);
}

TEST_F(SharedFormTest, TheVersionLabelDrawsNoBackground) {
    TForm2& form = Form();
    const TLabel& label = *form.lblKetrovaVersion;
    EXPECT_EQ(label.Caption(), L"2026.2.3.1");
    EXPECT_TRUE(label.Visible());
    EXPECT_LT(label.Width(), 200);
    EXPECT_GT(label.Width(), 40);
    const Capture screen = probe::CaptureScreen(form);
    const Capture reference = probe::StretchReference(form.bmpFundo->Handle(), 800, 450);
    int background = 0;
    int text = 0;
    for (int y = label.Top(); y < label.Top() + label.Height(); ++y) {
        for (int x = label.Left(); x < label.Left() + label.Width(); ++x) {
            background += screen.At(x, y) == reference.At(x, y);
            text += screen.At(x, y) == RGB(255, 255, 255);
        }
    }
    const int area = label.Width() * label.Height();
    EXPECT_GT(background, area / 2) << "most of the label's rectangle shows the picture";
    EXPECT_GT(text, 10) << "and some of it is the white text";
    // The row above the label and the column beside it are untouched.
    for (int x = label.Left(); x < label.Left() + label.Width(); ++x) {
        EXPECT_EQ(screen.At(x, label.Top() - 1), reference.At(x, label.Top() - 1));
    }
}

TEST_F(SharedFormTest, TogglingThePanelTwiceGivesTheSamePicture) {
    TForm2& form = Form();
    const bool panelOpen = form.ExibirSetupDetalhado;
    const Capture before = probe::CaptureScreen(form);
    probe::Click(form, 539, 411);
    if (form.spButton->Enabled()) {
        EXPECT_NE(form.ExibirSetupDetalhado, panelOpen);
        EXPECT_NE(probe::CaptureScreen(form), before);
        probe::Click(form, 539, 411);
    }
    EXPECT_EQ(form.ExibirSetupDetalhado, panelOpen);
    EXPECT_TRUE(probe::CaptureScreen(form) == before);
}

TEST_F(SharedFormTest, ThePanelIsARoundedRectangleOfThePanelColour) {
    TForm2& form = Form();
    const bool panelOpen = form.ExibirSetupDetalhado;
    form.SetDetailsVisible(true);
    const bool addOn = form.IsPluginParcial || form.IsPluginFull;
    const RECT panel = addOn ? RECT{330, 130, 774, 365} : RECT{55, 130, 760, 365};
    const Capture screen = probe::CaptureScreen(form);
    const Capture reference = probe::StretchReference(form.bmpFundo->Handle(), 800, 450);
    const COLORREF colour = 0x0021130D;
    // Corners are cut by the 20 x 20 quarter ellipses: the picture shows there
    // (which in places is itself of the panel's colour, but not everywhere).
    int cornerPixelsOfAnotherColour = 0;
    for (const POINT p : {POINT{panel.left, panel.top}, POINT{panel.right - 1, panel.top},
                          POINT{panel.left, panel.bottom - 1}, POINT{panel.right - 1, panel.bottom - 1}}) {
        EXPECT_EQ(screen.At(p.x, p.y), reference.At(p.x, p.y)) << "corner " << p.x << ", " << p.y;
        cornerPixelsOfAnotherColour += screen.At(p.x, p.y) != colour;
    }
    EXPECT_GT(cornerPixelsOfAnotherColour, 0);
    for (const POINT p : {POINT{panel.left + 10, panel.top + 10}, POINT{panel.right - 11, panel.top + 10},
                          POINT{panel.left + 10, panel.bottom - 11}, POINT{panel.right - 11, panel.bottom - 11},
                          POINT{panel.left, (panel.top + panel.bottom) / 2},
                          POINT{panel.right - 1, (panel.top + panel.bottom) / 2},
                          POINT{(panel.left + panel.right) / 2, panel.top},
                          POINT{panel.right - 20, panel.bottom - 1}}) {
        EXPECT_EQ(screen.At(p.x, p.y), colour) << "inside " << p.x << ", " << p.y;
    }
    // Right and bottom are exclusive.
    for (const POINT p : {POINT{panel.right, (panel.top + panel.bottom) / 2},
                          POINT{(panel.left + panel.right) / 2, panel.bottom},
                          POINT{panel.left - 1, (panel.top + panel.bottom) / 2}}) {
        EXPECT_EQ(screen.At(p.x, p.y), reference.At(p.x, p.y)) << "outside " << p.x << ", " << p.y;
    }
    form.SetDetailsVisible(panelOpen);
}


// These executables carry no payload, so an unattended run meets a failing
// payload step: one message, then nothing that would claim success.
std::vector<std::wstring> collectedMessages;
void CollectMessage(const std::wstring& text) { collectedMessages.push_back(text); }

TEST_F(FormTest, AnUnattendedRunWhosePayloadFailsEndsWithExitCodeOneAndNothingMore) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"ketrova-app-unattended\\";
    collectedMessages.clear();
    SetMessageSinkForTests(CollectMessage);
    TForm2& form = Open(probe::Administrator, {folder, L"C:\\ignored\\"});
    SetMessageSinkForTests(nullptr);

    EXPECT_EQ(collectedMessages,
              std::vector<std::wstring>{L"Erro detectado durante o processo de instalação. É provável que você "
                                        L"precise de privilégio de administrador para realizar essa tarefa."});
    EXPECT_TRUE(form.QuitRequested());
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    // The argument hid the buttons and the toggle.
    EXPECT_FALSE(probe::HasStyle(form.Button1, WS_VISIBLE));
    EXPECT_FALSE(probe::HasStyle(form.Button2, WS_VISIBLE));
    EXPECT_FALSE(form.spButton->Visible());
    // The truthful exit code, and the resource was never copied.
    MSG quit{};
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 1u);
    EXPECT_EQ(::GetFileAttributesW((folder + L"Programa.zip").c_str()), INVALID_FILE_ATTRIBUTES);
    ::RemoveDirectoryW(folder.c_str());
}

// What Alt+F4 and the task bar's Close send.
void AskToClose(TForm2& form) { ::SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }

TEST_F(FormTest, ClosingAnIdleWindowIsCancelar) {
    TForm2& form = Open();
    AskToClose(form);
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    MSG quit{};
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(FormTest, TheWindowsTeardownActsOnTheWindowItself) {
    Open();
    form_.reset();
    // The class outlives the window: its icon, freed with the window, was taken off it.
    WNDCLASSEXW windowClass{sizeof windowClass};
    ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), L"TForm2", &windowClass));
    EXPECT_EQ(windowClass.hIcon, nullptr);
}

TEST_F(FormTest, AnUnattendedRunWhoseCreationFailedEndsAfterTheBox) {
    collectedMessages.clear();
    SetMessageSinkForTests(CollectMessage);
    TForm2& form = Open([]() -> bool { throw Exception(L"Sem acesso ao grupo dos administradores"); },
                        {L"C:\\ketrova-never-installed\\"});
    SetMessageSinkForTests(nullptr);

    // The error ended the creation steps before the unattended run, which
    // has nobody to close a window: after the box it ends by itself.
    EXPECT_EQ(collectedMessages, std::vector<std::wstring>{L"Sem acesso ao grupo dos administradores"});
    EXPECT_TRUE(form.QuitRequested());
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    MSG quit{};
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u) << "the installer could not start";
    EXPECT_EQ(::GetFileAttributesW(L"C:\\ketrova-never-installed"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
