#include "clAdminFunctions.h"

#include "Handles.h"
#include "PlatformError.h"

#include <windows.h>

bool IsUserAdmin() {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                    0, 0, 0, &sid)) {
        throw EPlatformError(SystemMessage(::GetLastError()));
    }
    const win::UniqueSid administrators(sid);
    BOOL member = FALSE;
    return ::CheckTokenMembership(nullptr, administrators.get(), &member) && member;
}
