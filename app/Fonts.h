// Fonts of the form description, by character height in pixels.
#pragma once

#include "FormDescription.h"
#include "Handles.h"

win::UniqueFont CreateDescribedFont(const FontDescription& font);
