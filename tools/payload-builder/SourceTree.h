// The files of a product folder as the payload will hold them: their archive
// names, sizes and times, in archive order, checked against what the archive
// and the machines it is extracted on can represent.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace builder {

struct SourceFile {
    std::filesystem::path path;
    std::string name;  // relative, "/" between folders
    std::uint64_t size = 0;
    std::time_t modified = 0;
};

// Throws BuildError when the name cannot be an entry that extracts to the same
// file on Windows: invalid UTF-8, characters Windows forbids, a component
// ending in a dot or space, too long for the archive, refused by the
// installer's reader (device names), or a name the installer itself uses in
// the target folder.
void checkEntryName(const std::string& name);

// Case-insensitive order of archive names (ASCII letters folded).
bool comesBefore(const std::string& a, const std::string& b);

// Sorts into archive order and refuses what no payload may hold: names that
// cannot be entries, names that clash once case is ignored.
void orderAndCheck(std::vector<SourceFile>& files);

// Every file below root, ordered and checked; folders become part of names only.
std::vector<SourceFile> scanSourceTree(const std::filesystem::path& root);

}  // namespace builder
