#include "clThemeCheckBoxSize.h"

// Away from Windows there is no visual style to ask.
std::optional<TThemePartSize> QueryThemeCheckBoxSize(void*) {
    return std::nullopt;
}
