// TForm2: the installer's one window. Its handlers are spread over files by
// purpose: creation and messages (Unit2.cpp), layout and editions
// (Unit2Layout.cpp), painting (Unit2Paint.cpp), the target folder
// (Unit2Folder.cpp), the install sequence (Unit2Install.cpp) and its
// progress while the payload is written on a thread of its own
// (Unit2Progress.cpp).
#pragma once

#include "CommandLine.h"
#include "Handles.h"
#include "Label.h"
#include "MessageLoop.h"
#include "Pictures.h"
#include "Reporter.h"
#include "SpeedButton.h"
#include "clInstallFromResource.h"
#include "clVornTCheckBox.h"

#include <windows.h>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TForm2 {
public:
    // The administrator test of the proposal; tests put a fake in its place.
    using AdminTest = std::function<bool()>;

    // Creates the window and runs FormCreate for an interactive or unattended
    // invocation. An error of a creation step is reported in the standard
    // error box; the window is kept for the user on the interactive road, and
    // an unattended run ends. Everything the run tells goes through reporter,
    // which must outlive the window.
    TForm2(Invocation invocation, AdminTest isUserAdmin, const Reporter& reporter);
    ~TForm2();
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    HWND Handle() const { return window_.get(); }

    // Fields of the form description.
    HWND edPath = nullptr;
    HWND Button1 = nullptr;
    HWND Button2 = nullptr;
    std::unique_ptr<TSpeedButton> spButton;
    HWND btExplorer = nullptr;
    std::unique_ptr<TLabel> lblTextoPlugin;
    std::unique_ptr<TLabel> lblKetrovaVersion;
    std::unique_ptr<TLabel> lblAddinVersion;
    std::unique_ptr<TVornTCheckBox> ckLinkDesktop;
    std::unique_ptr<TVornTCheckBox> ckLinkStartMenu;
    std::unique_ptr<TVornTCheckBox> ckCloseAndRun;
    std::unique_ptr<TVornTCheckBox> ckAllUsers;
    std::wstring SpecificFolder;
    bool IsPluginParcial = false;
    bool IsPluginFull = false;
    bool PluginAllowed = false;
    bool ExibirSetupDetalhado = false;
    std::unique_ptr<TBitmap> bmpFundo;
    std::unique_ptr<TBitmap> bmpLogo;

    // Creation (Unit2.cpp).
    void FormCreate();
    void FormDestroy();

    // Layout, editions, details panel, busy state (Unit2Layout.cpp).
    void ArrangeWindow();
    void ReadEditionFlags();
    void LoadPictures();
    void PlaceControl(HWND control, int left, int baseTop, int row);
    void PlaceControl(TVornTCheckBox& control, int left, int baseTop, int row);
    void PlaceControl(TGraphicControl& control, int left, int baseTop, int row);
    void ArrangeStandardLayout();
    void ArrangeAddOnLayout();
    void ShowVersionLabels();
    void SetDetailsVisible(bool value);
    void spButtonClick();
    void EnterBusyState();

    // Painting (Unit2Paint.cpp).
    void FormPaint(HDC dc);

    // Progress and cancelling while the payload is written (Unit2Progress.cpp).
    // The status line of the busy state for the steps on this thread.
    void ShowBusyStatus(const std::wstring& text);

    // Target folder (Unit2Folder.cpp).
    void InitFolderOptions();
    std::wstring ProposalFor(bool allUsers) const;
    void ProposeFolder(bool allUsers);
    bool IsFolderAllowed(const std::wstring& folder) const;
    void UpdatePluginState();
    void edPathChange();
    void btExplorerClick();
    // edPath's text; a different text runs edPathChange.
    std::wstring PathText() const;
    void SetPathText(const std::wstring& text);

    // The install sequence (Unit2Install.cpp). RunInstallation returns the
    // exit code of what it did.
    void Button1Click();
    void Button2Click();
    int RunInstallation(const std::wstring& folder);
    void RunUnattended();
    // Whether the quit request is posted: an unattended run that ended this
    // way has nothing left to show.
    bool QuitRequested() const { return quitRequested_; }

private:
    // Writes the payload: on the window's road on a thread of its own while
    // this one keeps the window painting and Cancelar answering.
    InstalledPayload InstallPayload(const std::wstring& folder);
    void AskToCancel();
    void ProgressTimer();
    RECT PanelBounds() const;
    void PaintPanel(HDC dc) const;
    void PaintProgress(HDC dc) const;
    std::wstring ProgressStatus() const;
    int ProgressDone(int scale) const;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateDesignedControls();
    HWND CreateWindowedControl(const ControlDescription& description);
    void SetApplicationIcon();
    void Command(int id, int notification);
    bool IsClickable(HWND button) const;
    LRESULT DefaultButton() const;
    void WMPaint();
    void MouseMessage(UINT message, LPARAM lParam);
    void WMClose();
    void RequestQuit(int exitCode);
    // A failed step: reported, and its exit code.
    int Fail(const FailureCause& cause);
    void StartProduct(const std::wstring& folder);
    bool Unattended() const { return invocation_.road == Invocation::Road::Unattended; }
    // A step of the install sequence: on the window's road beside the message
    // loop, so that the window answers however long the step takes.
    template <typename Work>
    auto RunStep(Work work) {
        if (Unattended()) return work();
        return RunBesideMessageLoop(Handle(), std::move(work));
    }
    void BringToFront(TGraphicControl& control);
    template <typename F>
    void ForEachOptionBox(F action);

    Invocation invocation_;
    AdminTest isUserAdmin_;
    const Reporter& reporter_;
    // The background picture, decoded beside the window's creation.
    std::future<TBitmap> background_;
    win::UniqueWindow window_;
    win::UniqueFont font_;
    win::UniqueIcon windowIcon_;
    win::UniqueIcon classIcon_;
    // Labels and the speed button in stacking order; the last is drawn last.
    std::vector<TGraphicControl*> graphicControls_;

    // Whether the hourglass has become the application's cursor.
    bool busy_ = false;
    bool quitRequested_ = false;
    // While Button1Click or RunUnattended runs; a close asked meanwhile (from
    // inside one of their message boxes) must not cut the sequence short.
    bool sequenceRunning_ = false;
    // What RunInstallation gave, for a window that an error left open.
    std::optional<int> exitCode_;
    // Whether the window and its resources were made, before the install
    // sequence or the wait for the user begins.
    bool started_ = false;
    bool trackingMouse_ = false;
    int textChangeGuard_ = 0;

    // The busy state's bar and status line; the counters while the payload
    // is written, null before.
    std::unique_ptr<InstallProgress> progress_;
    std::wstring busyStatus_;
    bool payloadWriting_ = false;
    bool installationComplete_ = false;
    bool askingToCancel_ = false;
    // What the screen shows, so that the timer repaints only a change.
    int shownDone_ = -1;
    std::wstring shownStatus_;
};
