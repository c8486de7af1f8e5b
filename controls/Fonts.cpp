#include "Fonts.h"

#include "Exception.h"

win::UniqueFont CreateDescribedFont(const FontDescription& font) {
    // A negative height asks for the character height, not the cell height.
    win::UniqueFont handle(::CreateFontW(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                         font.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, font.face));
    if (!handle) throw Exception(L"Não foi possível criar a fonte " + std::wstring(font.face));
    return handle;
}
