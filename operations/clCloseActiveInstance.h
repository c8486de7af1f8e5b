// Finding and ending the running processes of an executable, by its file name.
#pragma once

#include "ExeNameMatch.h"

#include <string>

// Whether a process whose executable name matches is running.
bool ProcessExists(const std::wstring& name);

// Requests the termination of every matching process; the outcome of the last
// request, false when none matches.
bool KillProcess(const std::wstring& name);

struct InstancesEnded {
    int closed = 0;  // ended when asked to close
    int killed = 0;  // terminated: they did not close in time, or had no window to ask
};

// Asks every matching process to close (a close request to its visible
// top-level windows) and waits for them five seconds at most; then kills
// while a matching process is listed, for about five seconds more. A process
// that survives both is left running and the caller goes on.
InstancesEnded CloseRunningInstances(const std::wstring& name);

// "0", or "2 (1 closed when asked, 1 killed)", as the logs say it.
std::wstring DescribeInstancesEnded(const InstancesEnded& ended);
