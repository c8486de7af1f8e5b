#include "WindowStation.h"

#include <windows.h>

bool IsWindowStationVisible() {
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    // A station that cannot be asked is taken as the interactive one, as before.
    if (!::GetUserObjectInformationW(::GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &needed)) {
        return true;
    }
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}
