// What the operations' tests under Wine share: scratch folders, the sample
// product's executable and its windows, started processes, caught messages.
#pragma once

#include "FileSystem.h"
#include "Handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The sample product as built, in the Windows form of its path.
std::wstring ProductExe();

// A fresh folder under the temporary folder, removed with its content at the
// end; path() ends with "\".
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

// A file placed for one test and removed afterwards, also where it must not
// stay (a desktop, a drive root).
class PlacedFile {
public:
    explicit PlacedFile(std::wstring path, const std::string& content = "placed");
    PlacedFile(const PlacedFile&) = delete;
    PlacedFile& operator=(const PlacedFile&) = delete;
    ~PlacedFile();

private:
    std::wstring path_;
};

void CreateFolders(const std::wstring& path);
void WriteTextFile(const std::wstring& path, const std::string& content);
// What is on the disk, asked as the installer asks it.
using native::DirectoryExists;
using native::FileExists;

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Starts an executable by its path; the handle is of the process.
win::UniqueHandle StartProcess(const std::wstring& exePath);
// Ends a started process and waits until it is gone.
void EndProcess(HANDLE process);

// The sample product's main window started from exePath, or nullptr.
HWND FindProductWindow(const std::wstring& exePath);
// A "name=value" field of the sample product's window title.
std::wstring TitleField(HWND window, const std::wstring& name);

// Takes the plain messages of the installer for the life of the object.
class CaughtMessages {
public:
    CaughtMessages();
    CaughtMessages(const CaughtMessages&) = delete;
    CaughtMessages& operator=(const CaughtMessages&) = delete;
    ~CaughtMessages();
    const std::vector<std::wstring>& texts() const;
};
