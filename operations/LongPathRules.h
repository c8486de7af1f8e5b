// The string side of the long-path rewriting: drive parts, the splitting into
// components, the OneDrive test. The file system search is handed in, so the
// algorithm runs the same over a fake directory tree.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The stored name of the entry that a path names, or nothing when none exists.
using EntrySearch = std::function<std::optional<std::wstring>(const std::wstring& path)>;

// "C:" for a path that begins with a drive letter and its colon, "\\server\share"
// for a network path, empty otherwise.
std::wstring_view DrivePart(std::wstring_view path);

// Everything up to and including the last "\" or ":"; empty when there is none.
std::wstring_view FolderPart(std::wstring_view path);

// The path's last component replaced by its stored name; a trailing "\" stays.
std::wstring ResolveLastComponentWith(const std::wstring& path, const EntrySearch& search);

// Every existing component replaced by its stored name, left to right.
std::wstring GetLongPathWith(const std::wstring& path, const EntrySearch& search);

// Whether the letters "onedrive" appear anywhere, in any ASCII case.
bool ContainsOneDrive(std::wstring_view path);
