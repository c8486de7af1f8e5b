// Extraction over a folder that may hold files of its own. What the
// extraction will create is written down first and every file it would
// replace is set aside, so that a failure, or a run cut short, can put the
// folder back as it was.
#pragma once

#include <ZipFile.h>

#include <string>
#include <vector>

class ReplacementJournal {
public:
    // Throws, with the folder as it was, when a file the plan would replace
    // cannot be set aside (read-only, or open in another program).
    ReplacementJournal(std::wstring folder, const TExtractionPlan& plan);
    ReplacementJournal(const ReplacementJournal&) = delete;
    ReplacementJournal& operator=(const ReplacementJournal&) = delete;
    // Puts the folder back unless the extraction was committed.
    ~ReplacementJournal();

    // The extraction is complete: marked so in the journal, then the replaced
    // files and the journal go.
    void Commit();

    // At the start of a run: finishes a committed journal left in the folder,
    // or rolls back an uncommitted one.
    static void Recover(const std::wstring& folder);

    // What one entry of the journal records about a path below the folder.
    enum class Change : wchar_t { Replaced = L'+', Created = L'-', FolderCreated = L'/' };
    struct Step {
        Change change;
        std::wstring name;
    };

private:
    bool SetsFilesAside() const;
    // Best effort, whatever fails: what cannot be put back stays set aside,
    // with its journal, for the next run.
    static void RollBack(const std::wstring& folder, const std::vector<Step>& steps) noexcept;

    std::wstring folder_;
    std::vector<Step> steps_;
    bool committed_ = false;
};
