// What an installer run tells before it does anything: the installer, the
// command line as understood, the user and the session; and the command
// line's description for /? and for a command line that is refused.
#pragma once

#include "CommandLine.h"
#include "Reporter.h"

#include <string>

void LogStart(const Reporter& reporter, const Invocation& invocation, bool visible);

extern const wchar_t InstallerUsage[];
