// Whether anybody can see the process's windows: services and deployment
// tools that run as SYSTEM start programs in a window station that is not
// visible, where a message box waits for ever.
#pragma once

bool IsWindowStationVisible();
