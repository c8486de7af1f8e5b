// What the installer and the uninstaller tell deployment tools when they end,
// on every road; one table, so that no code means two things.
#pragma once

constexpr int kExitCompleted = 0;
// The product's files could not be installed.
constexpr int kExitPayloadFailed = 1;
// The product was installed, but a requested shortcut is missing.
constexpr int kExitShortcutsFailed = 2;
// The installer itself could not start: its window or resources could not be made.
constexpr int kExitNotStarted = 3;
// The product was installed, but its uninstall entry could not be written.
constexpr int kExitNotRegistered = 4;

// The uninstaller: 0 when the product was removed (files that the installation
// did not write may stay in the folder).
constexpr int kExitUninstallCancelled = 5;
// The folder no longer held the product: only the stale entry was removed.
constexpr int kExitStaleEntryRemoved = 6;
// The machine's entry needs administrator rights, and they were not given.
constexpr int kExitNeedsAdministrator = 7;
// Some installed files could not be removed; the entry stays for another try.
constexpr int kExitUninstallIncomplete = 8;
// No readable record of the installation beside the uninstaller.
constexpr int kExitNoInstallRecord = 9;

// Causes that a deployment tool treats apart from a plain failure of the files.
// Not enough free space for the installation, checked before anything changes.
constexpr int kExitDiskFull = 10;
// A file is in use by a program that was not ended.
constexpr int kExitFileInUse = 11;
// Access to a file, folder or key was denied.
constexpr int kExitAccessDenied = 12;
// The payload fails its checks: the installer file is damaged.
constexpr int kExitDamagedInstaller = 13;
// The command line is not understood.
constexpr int kExitBadCommandLine = 14;
// The log cannot be created or written.
constexpr int kExitLogFailed = 15;
// The user cancelled during the installation.
constexpr int kExitCancelled = 1602;
// Another installation of this product is running; deployment tools retry this code.
constexpr int kExitInstallInProgress = 1618;

// The code's meaning in a few words, for the log; the installer's meanings
// for the codes the uninstaller shares with it.
const wchar_t* ExitCodeMeaning(int exitCode);
