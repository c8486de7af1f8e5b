#include "InstallerOptionBox.h"

void ConfigureOptionBox(TVornTCheckBox& box, HWND parent, const std::wstring& text) {
    constexpr TColor kTexto = 0x00C0C0C0;
    constexpr TColor kTextoInativo = 0x00808080;
    constexpr TColor kWhite = 0x00FFFFFF;
    constexpr TColor kGrey = 0x00808080;
    constexpr TColor kHighlight = 0x009E4E20;
    constexpr TColor kLightGrey = 0x00ABABAB;
    constexpr TColor kPanel = 0x0021130D;
    box.SetVisible(false);
    box.SetCaption(text);
    box.SetParent(parent);
    box.SetWidth(360);
    box.SetHeight(18);
    box.SetFontSize(11);
    box.SetChecked(true);
    box.SetBoxSizeWidth(18);
    box.SetBoxSizeWidthDefault(false);
    box.SetBoxSizeHeight(18);
    box.SetBoxSizeHeightDefault(false);
    box.SetCorTextoAtivo(kTexto);
    box.SetCorTextoInativo(kTextoInativo);
    box.SetCorTextoFocused(kTexto);
    box.SetCorTextoIluminado(kWhite);
    box.SetCorTextoIluminadoFocused(kWhite);
    box.SetCorBoxAtivo(kGrey);
    // Focus shows without a focus rectangle: outline and mark in the highlight.
    box.SetCorBoxFocused(kHighlight);
    box.SetCorBoxIluminado(kHighlight);
    box.SetCorBoxIluminadoFocused(kHighlight);
    box.SetCorCheckAtivo(kGrey);
    box.SetCorCheckFocused(kHighlight);
    box.SetCorCheckIluminado(kHighlight);
    box.SetCorCheckIluminadoFocused(kHighlight);
    box.SetCorSquareAtivo(kWhite);
    box.SetCorSquareInativo(kLightGrey);
    box.SetCorSquareFocused(kWhite);
    box.SetCorSquareIluminadoFocused(kWhite);
    box.SetCorFundoAtivo(kPanel);
    box.SetCorFundoInativo(kPanel);
    box.SetCorFundoFocused(kPanel);
    box.SetCorFundoIluminado(kPanel);
    box.SetCorFundoIluminadoFocused(kPanel);
}
