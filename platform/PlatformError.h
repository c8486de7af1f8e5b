// Failures that the platform reports by a code, told in the platform's words.
#pragma once

#include "Exception.h"

#include <string>

// The system's message for an error code or HRESULT, without the line break
// and full stop that end it; the code in hex when the system has no text.
std::wstring SystemMessage(unsigned long code);

class EPlatformError : public Exception {
public:
    // code: the platform's error code or HRESULT behind the message; 0 when unknown.
    explicit EPlatformError(std::wstring message, unsigned long code = 0)
        : Exception(std::move(message)), code_(code) {}
    unsigned long Code() const noexcept { return code_; }

private:
    unsigned long code_;
};
