// Turns whatever an operation threw into the cause of a failed step, so that
// the application reports every failure the same way.
#pragma once

#include <Failure.h>

#include <string>

// Call inside a catch block. A failure that already carries its cause keeps
// it; the archive reader's findings in the embedded payload mark the
// installer as damaged, its input and output failures bring the system's
// code, as the platform's errors do.
FailureCause CurrentFailure(std::wstring step, std::wstring path = {}) noexcept;

// Call inside a catch block: throws the caught error as EStepFailed.
[[noreturn]] void RethrowAsStepFailed(std::wstring step, std::wstring path = {});
