#include "clCheckBoxState.h"

#include <cwctype>

TColor CurrentColour(const TElementColours& colours, bool enabled, bool focused, bool mouseInClient) {
    if (!enabled) return colours.Inativo;
    if (focused) return mouseInClient ? colours.IluminadoFocused : colours.Focused;
    return mouseInClient ? colours.Iluminado : colours.Ativo;
}

TCheckBoxState ToggledState(TCheckBoxState state, bool allowGrayed) {
    switch (state) {
    case TCheckBoxState::cbUnchecked:
        return allowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked;
    case TCheckBoxState::cbChecked:
        return TCheckBoxState::cbUnchecked;
    case TCheckBoxState::cbGrayed:
        break;
    }
    return TCheckBoxState::cbChecked;
}

std::optional<wchar_t> AcceleratorOf(const std::wstring& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return static_cast<wchar_t>(std::towupper(caption[i + 1]));
        ++i;
    }
    return std::nullopt;
}

bool IsAccelerator(const std::wstring& caption, wchar_t typed) {
    const auto accelerator = AcceleratorOf(caption);
    return accelerator && *accelerator == static_cast<wchar_t>(std::towupper(typed));
}
