#include "Unit2.h"

#include "ErrorReport.h"
#include "Exception.h"
#include "ExitCodes.h"
#include "Fonts.h"
#include "FormDescription.h"
#include "InstallerOptionBox.h"
#include "Messages.h"

#include <windowsx.h>

namespace {

constexpr const wchar_t* kClassName = L"TForm2";

bool HasVisibleStyle(HWND control) { return (::GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

RECT DescribedBounds(const ControlDescription& description) {
    return {description.left, description.top, description.left + description.width,
            description.top + description.height};
}

DWORD WindowedStyle(ControlKind kind) {
    switch (kind) {
    case ControlKind::DefaultButton: return WS_TABSTOP | BS_DEFPUSHBUTTON;
    case ControlKind::Button: return WS_TABSTOP | BS_PUSHBUTTON;
    // A flat single-line border instead of the sunken client edge.
    case ControlKind::Edit: return WS_TABSTOP | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL;
    default: return 0;
    }
}

}  // namespace

TForm2::TForm2(Invocation invocation, AdminTest isUserAdmin, const Reporter& reporter)
    : invocation_(std::move(invocation)), isUserAdmin_(std::move(isUserAdmin)), reporter_(reporter) {
    try {
        background_ = std::async(std::launch::async, [] { return LoadJpegResource(L"Fundo", kFormWidth, kFormHeight); });
    } catch (const std::system_error&) {
        // No thread to spare: LoadPictures decodes it itself.
    }
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!::GetClassInfoExW(instance, kClassName, &windowClass)) {
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        // The dialog manager keeps its state in these bytes: with them DefDlgProc
        // gives the form Tab, Enter, Escape and the default-button handling.
        windowClass.cbWndExtra = DLGWINDOWEXTRA;
        if (!::RegisterClassExW(&windowClass)) throw Exception(L"Não foi possível registrar a janela principal");
    }
    // No system menu and no border: a picture of 800 x 450 that owns the task-bar button.
    ::CreateWindowExW(WS_EX_APPWINDOW, kClassName, kFormCaption, WS_POPUP | WS_CLIPCHILDREN, 0, 0, kFormWidth,
                      kFormHeight, nullptr, nullptr, instance, this);
    if (!window_) throw Exception(L"Não foi possível criar a janela principal");
    CreateDesignedControls();
    try {
        FormCreate();
    } catch (...) {
        reporter_.Fail({.step = L"create the window", .text = CurrentErrorText()}, CurrentErrorText(),
                       ShowErrorMessage);
        // A window whose start failed lacks what Install needs; it can only be
        // closed. An unattended run has nobody to close it: it ends.
        if (!started_) ::EnableWindow(Button1, FALSE);
        if (Unattended()) RequestQuit(started_ ? kExitPayloadFailed : kExitNotStarted);
    }
}

// The window keeps its handle through its own teardown (WM_DESTROY still acts
// on it); WM_NCDESTROY lets it go.
TForm2::~TForm2() {
    if (window_) ::DestroyWindow(window_.get());
}

void TForm2::CreateDesignedControls() {
    font_ = CreateDescribedFont(kFormFont);
    for (const ControlDescription& description : kFormDescription) {
        switch (description.kind) {
        case ControlKind::SpeedButton:
            spButton = std::make_unique<TSpeedButton>(Handle(), DescribedBounds(description), description.visible,
                                                      LoadAlphaBitmapResource(L"Chave"), kSpButtonKeysId);
            spButton->OnClick = [this] { spButtonClick(); };
            graphicControls_.push_back(spButton.get());
            break;
        case ControlKind::Label: {
            auto label = std::make_unique<TLabel>(Handle(), description);
            graphicControls_.push_back(label.get());
            const auto index = &description - kFormDescription.data();
            (index == lblTextoPluginIndex      ? lblTextoPlugin
             : index == lblKetrovaVersionIndex ? lblKetrovaVersion
                                               : lblAddinVersion) = std::move(label);
            break;
        }
        default: {
            const HWND control = CreateWindowedControl(description);
            switch (description.id) {
            case IDOK: Button1 = control; break;
            case IDCANCEL: Button2 = control; break;
            case kEdPathId: edPath = control; break;
            default: btExplorer = control; break;
            }
        }
        }
    }
}

HWND TForm2::CreateWindowedControl(const ControlDescription& description) {
    const wchar_t* className = description.kind == ControlKind::Edit ? L"EDIT" : L"BUTTON";
    const DWORD style = WS_CHILD | WindowedStyle(description.kind) | (description.visible ? WS_VISIBLE : 0);
    const HWND control = ::CreateWindowExW(0, className, description.text, style, description.left, description.top,
                                           description.width, description.height, Handle(),
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(description.id)),
                                           ::GetModuleHandleW(nullptr), nullptr);
    if (!control) throw Exception(L"Não foi possível criar os controles da janela principal");
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return control;
}

void TForm2::FormCreate() {
    SetApplicationIcon();
    ckLinkDesktop = std::make_unique<TVornTCheckBox>();
    ckLinkStartMenu = std::make_unique<TVornTCheckBox>();
    ckCloseAndRun = std::make_unique<TVornTCheckBox>();
    ckAllUsers = std::make_unique<TVornTCheckBox>();
    ConfigureOptionBox(*ckLinkDesktop, Handle(), L"Criar atalho na área de trabalho");
    ConfigureOptionBox(*ckLinkStartMenu, Handle(), L"Criar atalho no menu inicial");
    ConfigureOptionBox(*ckCloseAndRun, Handle(), L"Executar o programa após instalação");
    ConfigureOptionBox(*ckAllUsers, Handle(), L"Instalar para todos os usuários (Administrador)");
    ArrangeWindow();
    InitFolderOptions();
    started_ = true;
    if (Unattended()) {
        RunUnattended();
    } else {
        ::ShowWindow(Handle(), SW_SHOW);
        ::SetForegroundWindow(Handle());
        // The toggle is first in the tab order; Enter still presses Install.
        ::SetFocus(Button1);
    }
}

void TForm2::SetApplicationIcon() {
    const win::UniqueIcon loaded(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), L"Icone", IMAGE_ICON,
                                                                 ::GetSystemMetrics(SM_CXICON),
                                                                 ::GetSystemMetrics(SM_CYICON), 0)));
    if (!loaded) throw Exception(L"Resource Icone not found");
    windowIcon_.reset(::CopyIcon(loaded.get()));
    classIcon_.reset(::CopyIcon(loaded.get()));
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowIcon_.get()));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowIcon_.get()));
    ::SetClassLongPtrW(Handle(), GCLP_HICON, reinterpret_cast<LONG_PTR>(classIcon_.get()));
}

void TForm2::FormDestroy() {
    ::ShowWindow(Handle(), SW_HIDE);
    // Each field is cleared before its former object is freed.
    bmpLogo.reset();
    bmpFundo.reset();
    ckLinkDesktop.reset();
    ckLinkStartMenu.reset();
    ckCloseAndRun.reset();
    ckAllUsers.reset();
    // The class outlives this window; it must not keep an icon freed with it.
    ::SetClassLongPtrW(Handle(), GCLP_HICON, 0);
}

LRESULT CALLBACK TForm2::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm2*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_.reset(window);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TForm2*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return ::DefDlgProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->window_.release();
        return ::DefDlgProcW(window, message, wParam, lParam);
    }
    try {
        return form->HandleMessage(message, wParam, lParam);
    } catch (...) {
        form->reporter_.Fail({.step = L"handle a window message", .text = CurrentErrorText()}, CurrentErrorText(),
                             ShowErrorMessage);
        return 0;
    }
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        // The paint covers the whole client area; erasing would only flicker.
        return 0;
    case WM_PAINT:
        WMPaint();
        return 0;
    case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case DM_GETDEFID:
        return DefaultButton();
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_.get());
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == edPath) {
            // A read-only edit keeps the window colour of an editable one.
            ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOW));
            ::SetTextColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    case WM_SETCURSOR:
        // Children ask their parent first, so this covers every window of the form.
        if (busy_) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        MouseMessage(message, lParam);
        return 0;
    case WM_TIMER:
        ProgressTimer();
        return 0;
    case WM_CLOSE:
        WMClose();
        return 0;
    case WM_DESTROY:
        FormDestroy();
        return 0;
    default:
        break;
    }
    return ::DefDlgProcW(Handle(), message, wParam, lParam);
}

void TForm2::Command(int id, int notification) {
    switch (id) {
    case IDOK:
        if (notification == BN_CLICKED && IsClickable(Button1)) Button1Click();
        break;
    case IDCANCEL:
        if (notification == BN_CLICKED && IsClickable(Button2)) Button2Click();
        break;
    case kBtExplorerId:
        if (notification == BN_CLICKED) btExplorerClick();
        break;
    case kSpButtonKeysId:
        spButton->KeysCommand(notification);
        break;
    case kEdPathId:
        if (notification == EN_CHANGE && textChangeGuard_ == 0) edPathChange();
        break;
    default:
        break;
    }
}

bool TForm2::IsClickable(HWND button) const {
    return button && ::IsWindowEnabled(button) && HasVisibleStyle(button);
}

LRESULT TForm2::DefaultButton() const {
    // Enter presses the push button that has the focus (the toggle among
    // them), else Install while it can be pressed.
    const HWND focus = ::GetFocus();
    if (focus && ::GetParent(focus) == Handle() && ::IsWindowEnabled(focus) &&
        (::SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0) {
        return MAKELRESULT(::GetDlgCtrlID(focus), DC_HASDEFID);
    }
    return IsClickable(Button1) ? MAKELRESULT(IDOK, DC_HASDEFID) : 0;
}

void TForm2::MouseMessage(UINT message, LPARAM lParam) {
    if (!spButton) return;
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_LBUTTONDOWN: spButton->MouseDown(at); break;
    case WM_LBUTTONUP: spButton->MouseUp(at); break;
    case WM_MOUSEMOVE:
        if (!trackingMouse_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
            trackingMouse_ = ::TrackMouseEvent(&track) != FALSE;
        }
        spButton->MouseMove(at);
        break;
    default:
        trackingMouse_ = false;
        spButton->MouseLeave();
        break;
    }
}

void TForm2::BringToFront(TGraphicControl& control) {
    std::erase(graphicControls_, &control);
    graphicControls_.push_back(&control);
    ::InvalidateRect(Handle(), &control.Bounds(), FALSE);
}
