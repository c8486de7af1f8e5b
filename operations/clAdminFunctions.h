// Whether the installer runs with the rights of the local Administrators group.
#pragma once

// Only an enabled membership counts: an administrator without elevation gets
// false. Raises EPlatformError when the group's identifier cannot be built.
bool IsUserAdmin();
