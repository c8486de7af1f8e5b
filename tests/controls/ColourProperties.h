// The 25 colour properties as tables, element by element (Box, Check, Square,
// Fundo, Texto) and within each in the order Ativo, Inativo, Focused,
// Iluminado, IluminadoFocused.
#pragma once

#include "clVornTCheckBoxModel.h"

using ColourGetter = TColor (TVornTCheckBoxModel::*)() const;
using ColourSetter = void (TVornTCheckBoxModel::*)(TColor);
using M = TVornTCheckBoxModel;

inline constexpr const char* kElementNames[5] = {"Box", "Check", "Square", "Fundo", "Texto"};

inline constexpr ColourGetter kColourGetters[5][5] = {
    {&M::CorBoxAtivo, &M::CorBoxInativo, &M::CorBoxFocused, &M::CorBoxIluminado, &M::CorBoxIluminadoFocused},
    {&M::CorCheckAtivo, &M::CorCheckInativo, &M::CorCheckFocused, &M::CorCheckIluminado,
     &M::CorCheckIluminadoFocused},
    {&M::CorSquareAtivo, &M::CorSquareInativo, &M::CorSquareFocused, &M::CorSquareIluminado,
     &M::CorSquareIluminadoFocused},
    {&M::CorFundoAtivo, &M::CorFundoInativo, &M::CorFundoFocused, &M::CorFundoIluminado,
     &M::CorFundoIluminadoFocused},
    {&M::CorTextoAtivo, &M::CorTextoInativo, &M::CorTextoFocused, &M::CorTextoIluminado,
     &M::CorTextoIluminadoFocused},
};

inline constexpr ColourSetter kColourSetters[5][5] = {
    {&M::SetCorBoxAtivo, &M::SetCorBoxInativo, &M::SetCorBoxFocused, &M::SetCorBoxIluminado,
     &M::SetCorBoxIluminadoFocused},
    {&M::SetCorCheckAtivo, &M::SetCorCheckInativo, &M::SetCorCheckFocused, &M::SetCorCheckIluminado,
     &M::SetCorCheckIluminadoFocused},
    {&M::SetCorSquareAtivo, &M::SetCorSquareInativo, &M::SetCorSquareFocused, &M::SetCorSquareIluminado,
     &M::SetCorSquareIluminadoFocused},
    {&M::SetCorFundoAtivo, &M::SetCorFundoInativo, &M::SetCorFundoFocused, &M::SetCorFundoIluminado,
     &M::SetCorFundoIluminadoFocused},
    {&M::SetCorTextoAtivo, &M::SetCorTextoInativo, &M::SetCorTextoFocused, &M::SetCorTextoIluminado,
     &M::SetCorTextoIluminadoFocused},
};

// The colours of a new control, in the same layout.
inline constexpr TColor kDefaultColours[5][5] = {
    {0x00000000, 0x007F7F7F, 0x00000000, 0x00CDCDC2, 0x00CDCDC2},
    {0x00000000, 0x007F7F7F, 0x00000000, 0x00CDCDC2, 0x00CDCDC2},
    {0x00FFFFFF, 0x00FFFFFF, 0x00CDBA96, 0x00FFFFFF, 0x00CDBA96},
    {0x00FFFFFF, 0x00FFFFFF, 0x00CDBA96, 0x00FFFFFF, 0x00CDBA96},
    {0x00000000, 0x007F7F7F, 0x00000000, 0x00000000, 0x00000000},
};

// Atual reading of each element, in the same element order.
inline constexpr ColourGetter kCurrentColourGetters[5] = {&M::CorBoxAtual, &M::CorCheckAtual, &M::CorSquareAtual,
                                                          &M::CorFundoAtual, &M::CorTextoAtual};
