// The uninstaller's steps on the machine: what one installation recorded
// goes, and nothing else. No step follows a link out of the folder.
#pragma once

#include "InstallRecord.h"

#include <Handles.h>

#include <string>
#include <vector>

// Deletes the recorded shortcuts that are still in a shortcut folder and still
// point into folder: another installation may have renewed a shared one.
void RemoveRecordedShortcuts(const InstallRecord& record, const std::wstring& folder);

// A removal is all or nothing: every recorded file that is there is opened
// for deletion without sharing first, so that none is deleted unless all can
// be, and nobody opens one in between.
class RecordedFiles {
public:
    struct Refusal {
        std::wstring name;
        unsigned long systemCode;
    };

    // Holds the recorded files below folder. One in use, one reached through
    // a link and one that has become a folder are refused.
    RecordedFiles(const InstallRecord& record, const std::wstring& folder);
    RecordedFiles(const RecordedFiles&) = delete;
    RecordedFiles& operator=(const RecordedFiles&) = delete;
    ~RecordedFiles();

    const std::vector<Refusal>& Refused() const { return refused_; }
    std::size_t HeldCount() const { return held_.size(); }

    // Deletes every held file and then the recorded folders left empty;
    // false, with nothing deleted, when a file was refused or the system
    // refuses to delete one.
    bool RemoveAll();

private:
    struct Held {
        win::UniqueFile file;
        unsigned long attributes;
    };
    const InstallRecord& record_;
    const std::wstring& folder_;
    std::vector<Held> held_;
    std::vector<Refusal> refused_;
};

// Names below folder of the files that are there, except the given names at
// its root; links are listed, not entered.
std::vector<std::wstring> FilesBelow(const std::wstring& folder, const std::vector<std::wstring>& exceptAtRoot);

// Removes the folder and then the recorded parents (its ancestors only) when
// they are empty and the deletion guard allows it.
void RemoveEmptyInstallFolders(const InstallRecord& record, const std::wstring& folder);
