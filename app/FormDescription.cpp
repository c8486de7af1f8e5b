#include "FormDescription.h"

namespace {

constexpr FontDescription kNoFont{nullptr, 0, false, 0, DEFAULT_CHARSET};
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;

}  // namespace

const std::array<ControlDescription, FormControlCount> kFormDescription{{
    {ControlKind::SpeedButton, 0, 522, 395, 34, 33, L"", true, kNoFont},
    {ControlKind::Label, 0, 151, 162, 290, 110, L"", false, {L"Tahoma", 16, true, kWhite, DEFAULT_CHARSET}},
    {ControlKind::Label, 0, 485, 59, 200, 30, L"", false, {L"Verdana", 12, true, kWhite, ANSI_CHARSET}},
    {ControlKind::Label, 0, 120, 300, 200, 30, L"", false, {L"Verdana", 8, true, kBlack, ANSI_CHARSET}},
    {ControlKind::DefaultButton, IDOK, 562, 395, 106, 33, L"Install", true, kNoFont},
    {ControlKind::Edit, kEdPathId, 151, 122, 270, 19, L"c:\\teste\\", true, kNoFont},
    {ControlKind::Button, IDCANCEL, 674, 395, 106, 33, L"Cancelar", true, kNoFont},
    {ControlKind::Button, kBtExplorerId, 421, 121, 20, 21, L"...", false, kNoFont},
}};
