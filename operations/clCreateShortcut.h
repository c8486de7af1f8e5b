// The product's shortcuts on the desktop and in the start menu, and the shell
// link files they are made of. Needs COM initialised on the calling thread.
#pragma once

#include <string>

enum ShortcutKind { skDesktop = 0, skStartMenu = 1 };

// Renews the start-menu shortcut, then the desktop shortcut, each when asked,
// for all users or the current user. A failure ends the steps with
// EStepFailed, naming the shortcut and the cause.
void CreateShortcuts(const std::wstring& exeName, const std::wstring& folder, bool allUsers, bool startMenu,
                     bool desktop);

// Deletes the old shortcut (with all users also the current user's one), then
// writes the shortcut to folder + exeName.
void RenewShortcut(const std::wstring& exeName, const std::wstring& folder, ShortcutKind kind, bool allUsers);

void DeleteShortcut(const std::wstring& exeName, ShortcutKind kind, bool allUsers);

// Whether the shortcut of exeName is in its shell folder as a file.
bool ShortcutExists(const std::wstring& exeName, ShortcutKind kind, bool allUsers);

void WriteShortcut(bool allUsers, const std::wstring& targetPath, ShortcutKind kind, const std::wstring& exeName);

// Where the shortcut of exeName is, or would be.
std::wstring ShortcutPath(const std::wstring& exeName, ShortcutKind kind, bool allUsers);

// The path a shell link file points at; empty when it cannot be read.
std::wstring LinkTarget(const std::wstring& linkPath);

// The shell folder of a shortcut, without a trailing separator.
std::wstring ShortcutFolder(bool allUsers, ShortcutKind kind);

// Writes linkFolder\<target's name>.lnk pointing at targetPath, with the
// description and the target's folder as working directory. Raises
// EPlatformError when the shell link object cannot be created or lacks an
// interface; a link the platform refuses to save is left unwritten silently.
void CreateLink(const std::wstring& linkFolder, const std::wstring& targetPath, const std::wstring& description);
