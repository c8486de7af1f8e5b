// Why a step of an installation or a removal failed, carried unchanged from
// where it happened to the one place that tells it: a box for a person, a
// line in the log, an exit code for a deployment tool.
#pragma once

#include "Exception.h"

#include <string>

struct FailureCause {
    // What was being done, in the log's words ("extract the payload").
    std::wstring step;
    // The file or folder it concerned; empty when none.
    std::wstring path;
    // The platform's error code (or HRESULT); 0 when the program itself found the fault.
    unsigned long systemCode = 0;
    // The system's text for the code, or the program's or the archive reader's own.
    std::wstring text;
    // The embedded payload failed the reader's checks: the installer file is damaged.
    bool damagedInstaller = false;
};

// An operation that failed, with its cause.
class EStepFailed : public Exception {
public:
    explicit EStepFailed(FailureCause cause);
    const FailureCause& Cause() const noexcept { return cause_; }

private:
    FailureCause cause_;
};

// The exit code that tells a deployment tool what to do about the cause:
// disk full, file in use, access denied, damaged installer, cancelled by the
// user, another installation running, else 1.
int ExitCodeFor(const FailureCause& cause);

// One line for the log: the step, the path, the text and the system's code.
std::wstring DescribeFailure(const FailureCause& cause);
