#include "ExitCodes.h"

const wchar_t* ExitCodeMeaning(int exitCode) {
    switch (exitCode) {
    case kExitCompleted: return L"completed";
    case kExitPayloadFailed: return L"the product's files could not be installed";
    case kExitShortcutsFailed: return L"installed, but a requested shortcut is missing";
    case kExitNotStarted: return L"the installer could not start";
    case kExitNotRegistered: return L"installed, but the uninstall entry could not be written";
    case kExitUninstallCancelled: return L"answered No; nothing changed";
    case kExitStaleEntryRemoved: return L"the folder no longer held the product; its stale entry was removed";
    case kExitNeedsAdministrator: return L"administrator rights are needed";
    case kExitUninstallIncomplete: return L"some installed files could not be removed";
    case kExitNoInstallRecord: return L"no record of an installation";
    case kExitDiskFull: return L"not enough free space";
    case kExitFileInUse: return L"a file is in use by another program";
    case kExitAccessDenied: return L"access denied";
    case kExitDamagedInstaller: return L"the installer file is damaged";
    case kExitBadCommandLine: return L"the command line is not understood";
    case kExitLogFailed: return L"the log cannot be written";
    case kExitCancelled: return L"cancelled by the user";
    case kExitInstallInProgress: return L"another installation of the product is running";
    default: return L"unknown";
    }
}
