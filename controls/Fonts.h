// The font that a control description names, by character height in pixels.
#pragma once

#include "ControlDescription.h"
#include "Handles.h"

win::UniqueFont CreateDescribedFont(const FontDescription& font);
