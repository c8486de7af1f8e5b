// Finding and ending the running processes of an executable, by its file name.
#pragma once

#include "ExeNameMatch.h"

#include <string>

// Whether a process whose executable name matches is running.
bool ProcessExists(const std::wstring& name);

// Requests the termination of every matching process; the outcome of the last
// request, false when none matches.
bool KillProcess(const std::wstring& name);

// Kills while a matching process is listed, for a few seconds at most; a
// process that survives is left running and the caller goes on. Returns how
// many processes were asked to end.
int CloseRunningInstances(const std::wstring& name);
