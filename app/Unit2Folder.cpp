// The target folder: the product's sub-folder, the proposal, the folder
// picker and the partial add-on edition's acceptance of a folder.
#include "Unit2.h"

#include "FileSystem.h"
#include "FolderPicker.h"
#include "FolderRules.h"
#include "LoadResText.h"
#include "ProductEntries.h"
#include "unitFolders.h"

namespace {

constexpr int kCsidlAppData = 26;
constexpr int kCsidlProgramFiles = 38;
constexpr const wchar_t* kPluginNotice =
    L"Ketrova não encontrado na pasta selecionada. Esse é um plugin que requer que o programa Ketrova esteja "
    L"instalado.";

}  // namespace

void TForm2::InitFolderOptions() {
    SpecificFolder = MakeSpecificFolder(LoadResText(kProductNameEntry), LoadResText(kVersionYearEntry),
                                        LoadResText(kReleaseEntry));
    SetDetailsVisible(false);
    const bool admin = isUserAdmin_();
    ckAllUsers->SetEnabled(admin);
    ckAllUsers->SetChecked(admin);
    ProposeFolder(ckAllUsers->Checked());
}

std::wstring TForm2::ProposalFor(bool allUsers) const {
    // Only the folder that the proposal uses is asked for.
    const std::wstring programFiles = allUsers ? GetSpecialFolder(kCsidlProgramFiles) : std::wstring();
    const std::wstring appData = allUsers ? std::wstring() : GetSpecialFolder(kCsidlAppData);
    return ProposedFolder(allUsers, programFiles, appData, SpecificFolder);
}

void TForm2::ProposeFolder(bool allUsers) { SetPathText(ProposalFor(allUsers)); }

bool TForm2::IsFolderAllowed(const std::wstring& folder) const {
    if (!IsPluginParcial) return true;
    return native::FileExists(folder + kInstanceExe);
}

void TForm2::UpdatePluginState() {
    ::EnableWindow(Button1, PluginAllowed);
    SetDetailsVisible(ExibirSetupDetalhado || !PluginAllowed);
    lblTextoPlugin->SetCaption(kPluginNotice);
    BringToFront(*lblTextoPlugin);
    lblTextoPlugin->SetVisible(!PluginAllowed);
    spButton->SetEnabled(PluginAllowed);
}

void TForm2::edPathChange() {
    PluginAllowed = IsFolderAllowed(PathText());
    if (IsPluginParcial) UpdatePluginState();
}

void TForm2::btExplorerClick() {
    if (const auto folder = PickFolder(Handle())) SetPathText(*folder + L"\\");
}

std::wstring TForm2::PathText() const {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edPath)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(edPath, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TForm2::SetPathText(const std::wstring& text) {
    if (text == PathText()) return;
    // The edit's own change notice is held back so that the handler runs
    // exactly once, however the platform's edit reports a change made by code.
    ++textChangeGuard_;
    ::SetWindowTextW(edPath, text.c_str());
    --textChangeGuard_;
    edPathChange();
}
