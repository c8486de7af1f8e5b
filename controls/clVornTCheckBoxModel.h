// The option box's own part, away from any window: its fields and properties,
// the current colour of each element and the geometry of the box. The base
// check box's state (enabled, focus, pointer, alignment, client size, window)
// is read through the virtual functions, which the window class provides.
#pragma once

#include "clCheckBoxState.h"
#include "clVornTCheckBoxTypes.h"

#include <functional>
#include <string>

class TVornTCheckBoxModel {
public:
    TVornTCheckBoxModel(const TVornTCheckBoxModel&) = delete;
    TVornTCheckBoxModel& operator=(const TVornTCheckBoxModel&) = delete;
    virtual ~TVornTCheckBoxModel() = default;

    // State of the base check box.
    virtual bool Enabled() const = 0;
    virtual bool Focused() const = 0;
    virtual bool MouseInClient() const = 0;
    virtual TLeftRight Alignment() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;

    // Published properties: each write that changes a value asks for a repaint.
    TVerticalAlignment VerticalAlignment() const { return fVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment value) { Assign(fVerticalAlignment, value); }
    int GapBeforeTexto() const { return fGapBeforeTexto; }
    void SetGapBeforeTexto(int value) { Assign(fGapBeforeTexto, value); }

    TColor CorBoxAtivo() const { return fCorBox.Ativo; }
    TColor CorBoxInativo() const { return fCorBox.Inativo; }
    TColor CorBoxFocused() const { return fCorBox.Focused; }
    TColor CorBoxIluminado() const { return fCorBox.Iluminado; }
    TColor CorBoxIluminadoFocused() const { return fCorBox.IluminadoFocused; }
    void SetCorBoxAtivo(TColor value) { Assign(fCorBox.Ativo, value); }
    void SetCorBoxInativo(TColor value) { Assign(fCorBox.Inativo, value); }
    void SetCorBoxFocused(TColor value) { Assign(fCorBox.Focused, value); }
    void SetCorBoxIluminado(TColor value) { Assign(fCorBox.Iluminado, value); }
    void SetCorBoxIluminadoFocused(TColor value) { Assign(fCorBox.IluminadoFocused, value); }

    TColor CorCheckAtivo() const { return fCorCheck.Ativo; }
    TColor CorCheckInativo() const { return fCorCheck.Inativo; }
    TColor CorCheckFocused() const { return fCorCheck.Focused; }
    TColor CorCheckIluminado() const { return fCorCheck.Iluminado; }
    TColor CorCheckIluminadoFocused() const { return fCorCheck.IluminadoFocused; }
    void SetCorCheckAtivo(TColor value) { Assign(fCorCheck.Ativo, value); }
    void SetCorCheckInativo(TColor value) { Assign(fCorCheck.Inativo, value); }
    void SetCorCheckFocused(TColor value) { Assign(fCorCheck.Focused, value); }
    void SetCorCheckIluminado(TColor value) { Assign(fCorCheck.Iluminado, value); }
    void SetCorCheckIluminadoFocused(TColor value) { Assign(fCorCheck.IluminadoFocused, value); }

    TColor CorSquareAtivo() const { return fCorSquare.Ativo; }
    TColor CorSquareInativo() const { return fCorSquare.Inativo; }
    TColor CorSquareFocused() const { return fCorSquare.Focused; }
    TColor CorSquareIluminado() const { return fCorSquare.Iluminado; }
    TColor CorSquareIluminadoFocused() const { return fCorSquare.IluminadoFocused; }
    void SetCorSquareAtivo(TColor value) { Assign(fCorSquare.Ativo, value); }
    void SetCorSquareInativo(TColor value) { Assign(fCorSquare.Inativo, value); }
    void SetCorSquareFocused(TColor value) { Assign(fCorSquare.Focused, value); }
    void SetCorSquareIluminado(TColor value) { Assign(fCorSquare.Iluminado, value); }
    void SetCorSquareIluminadoFocused(TColor value) { Assign(fCorSquare.IluminadoFocused, value); }

    TColor CorFundoAtivo() const { return fCorFundo.Ativo; }
    TColor CorFundoInativo() const { return fCorFundo.Inativo; }
    TColor CorFundoFocused() const { return fCorFundo.Focused; }
    TColor CorFundoIluminado() const { return fCorFundo.Iluminado; }
    TColor CorFundoIluminadoFocused() const { return fCorFundo.IluminadoFocused; }
    void SetCorFundoAtivo(TColor value) { Assign(fCorFundo.Ativo, value); }
    void SetCorFundoInativo(TColor value) { Assign(fCorFundo.Inativo, value); }
    void SetCorFundoFocused(TColor value) { Assign(fCorFundo.Focused, value); }
    void SetCorFundoIluminado(TColor value) { Assign(fCorFundo.Iluminado, value); }
    void SetCorFundoIluminadoFocused(TColor value) { Assign(fCorFundo.IluminadoFocused, value); }

    TColor CorTextoAtivo() const { return fCorTexto.Ativo; }
    TColor CorTextoInativo() const { return fCorTexto.Inativo; }
    TColor CorTextoFocused() const { return fCorTexto.Focused; }
    TColor CorTextoIluminado() const { return fCorTexto.Iluminado; }
    TColor CorTextoIluminadoFocused() const { return fCorTexto.IluminadoFocused; }
    void SetCorTextoAtivo(TColor value) { Assign(fCorTexto.Ativo, value); }
    void SetCorTextoInativo(TColor value) { Assign(fCorTexto.Inativo, value); }
    void SetCorTextoFocused(TColor value) { Assign(fCorTexto.Focused, value); }
    void SetCorTextoIluminado(TColor value) { Assign(fCorTexto.Iluminado, value); }
    void SetCorTextoIluminadoFocused(TColor value) { Assign(fCorTexto.IluminadoFocused, value); }

    const std::wstring& FontName() const { return fFontName; }
    void SetFontName(const std::wstring& value) { Assign(fFontName, value); }
    int FontSize() const { return fFontSize; }
    void SetFontSize(int value) { Assign(fFontSize, value); }
    bool FontBold() const { return fFontWeight == kBoldWeight; }
    void SetFontBold(bool value);
    int FontWeight() const { return fFontWeight; }

    int BoxSizeWidth() const { return fBoxSizeWidth; }
    void SetBoxSizeWidth(int value) { Assign(fBoxSizeWidth, value); }
    bool BoxSizeWidthDefault() const { return fBoxSizeWidthDefault; }
    void SetBoxSizeWidthDefault(bool value) { Assign(fBoxSizeWidthDefault, value); }
    int BoxSizeHeight() const { return fBoxSizeHeight; }
    void SetBoxSizeHeight(int value) { Assign(fBoxSizeHeight, value); }
    bool BoxSizeHeightDefault() const { return fBoxSizeHeightDefault; }
    void SetBoxSizeHeightDefault(bool value) { Assign(fBoxSizeHeightDefault, value); }
    int BoxFrameWidth() const { return fBoxFrameWidth; }
    void SetBoxFrameWidth(int value) { Assign(fBoxFrameWidth, value); }
    bool BoxFrameWidthAuto() const { return fBoxFrameWidthAuto; }
    void SetBoxFrameWidthAuto(bool value) { Assign(fBoxFrameWidthAuto, value); }

    // The colour of each element in the present state.
    TColor CorBoxAtual() const { return Current(fCorBox); }
    TColor CorCheckAtual() const { return Current(fCorCheck); }
    TColor CorSquareAtual() const { return Current(fCorSquare); }
    TColor CorFundoAtual() const { return Current(fCorFundo); }
    TColor CorTextoAtual() const { return Current(fCorTexto); }

    // Geometry in client coordinates, recomputed on every call.
    int ThemeBoxWidth() const;
    int ThemeBoxHeight() const;
    int BoxSizeWidthAtual() const;
    int BoxSizeHeightAtual() const;
    int BoxFrameWidthAtual() const;
    int BoxLeft() const;
    int BoxRight() const;
    int BoxTop() const;
    int BoxBottom() const;
    int ScaleX(int n) const;
    int ScaleY(int n) const;

protected:
    // invalidate asks the control for a repaint of its whole area.
    explicit TVornTCheckBoxModel(std::function<void()> invalidate);

    // The native window handle for the visual-style query; null before creation.
    virtual void* NativeWindow() const = 0;

private:
    static constexpr int kBoldWeight = 700;

    template <typename T>
    void Assign(T& field, const T& value) {
        if (field == value) return;
        field = value;
        invalidate_();
    }
    TColor Current(const TElementColours& colours) const {
        return CurrentColour(colours, Enabled(), Focused(), MouseInClient());
    }

    std::function<void()> invalidate_;

    TVerticalAlignment fVerticalAlignment = taVerticalCenter;
    bool fBoxFrameWidthAuto = true;
    bool fBoxSizeWidthDefault = true;
    bool fBoxSizeHeightDefault = true;
    int fBoxSizeWidth = 0;
    int fBoxSizeHeight = 0;
    int fBoxFrameWidth = 0;
    int fFontSize = 12;
    int fFontWeight = 0;
    int fGapBeforeTexto = 10;
    std::wstring fFontName = L"Verdana";
    // Only Ativo and Inativo of the caption get a colour; the rest stay black.
    TElementColours fCorTexto{0x00000000, 0x007F7F7F, 0, 0, 0};
    TElementColours fCorFundo{0x00FFFFFF, 0x00FFFFFF, 0x00CDBA96, 0x00FFFFFF, 0x00CDBA96};
    TElementColours fCorSquare{0x00FFFFFF, 0x00FFFFFF, 0x00CDBA96, 0x00FFFFFF, 0x00CDBA96};
    TElementColours fCorCheck{0x00000000, 0x007F7F7F, 0x00000000, 0x00CDCDC2, 0x00CDCDC2};
    TElementColours fCorBox{0x00000000, 0x007F7F7F, 0x00000000, 0x00CDCDC2, 0x00CDCDC2};
};
