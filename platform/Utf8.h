// UTF-8 to and from the code's text type (UTF-16 on Windows, UTF-32 elsewhere).
#pragma once

#include <string>
#include <string_view>

// Malformed sequences become U+FFFD, as the platform's own decoders do.
std::wstring Utf8ToWide(std::string_view bytes);
std::string WideToUtf8(std::wstring_view text);
