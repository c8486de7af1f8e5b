// The rules of the option box that depend on its state alone: which colour an
// element has, how a click moves the check state, and the caption's accelerator.
#pragma once

#include "clVornTCheckBoxTypes.h"

#include <optional>
#include <string>

// The five colours of one element, one per visual state.
struct TElementColours {
    TColor Ativo = 0;
    TColor Inativo = 0;
    TColor Focused = 0;
    TColor Iluminado = 0;
    TColor IluminadoFocused = 0;
};

// Disabled wins over everything; otherwise focus and pointer pick the colour.
TColor CurrentColour(const TElementColours& colours, bool enabled, bool focused, bool mouseInClient);

// Unchecked goes to checked (grayed when allowed), checked to unchecked, grayed to checked.
TCheckBoxState ToggledState(TCheckBoxState state, bool allowGrayed);

// The character after a single ampersand, upper-cased; "&&" stands for a plain ampersand.
std::optional<wchar_t> AcceleratorOf(const std::wstring& caption);

// True when the typed character is the caption's accelerator, in either case.
bool IsAccelerator(const std::wstring& caption, wchar_t typed);
