// The boundary where an error that escaped a handler or a creation step is
// shown to the user.
#pragma once

#include <string>

// Call inside a catch block: the caught error's text.
std::wstring CurrentErrorText() noexcept;

// Call inside a catch block: shows the caught error's text in the standard
// error box.
void ShowCurrentError() noexcept;
