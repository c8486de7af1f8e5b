// How entry names become paths below the target folder.
#pragma once

#include <optional>
#include <string>

namespace zip {

// Path and Name joined with one "\" between them; a rooted Name stands alone.
// Fails with "Invalid characters in path" for control characters, '"', '<', '>' or '|'.
std::wstring Combine(const std::wstring& path, const std::wstring& name);

// The entry name ("\" separators) with "." and ".." resolved, or nothing when
// it could leave the target folder or name something other than a file there:
// rooted names, drive letters, climbing "..", alternate data streams, device
// names (CON, PRN, AUX, NUL, COM1-9, LPT1-9) and components that Windows would
// trim (trailing dots or spaces). A trailing "\" is kept.
std::optional<std::wstring> ConfineEntryName(const std::wstring& name);

// Whether a link placed at the confined entry name linkName, pointing at
// target, stays inside the target folder: the target is relative and climbs
// only with leading ".." components, no higher than the link's own folder.
// A climb after a named component is refused, since that component may itself
// be a link and ".." would then leave from wherever it points.
bool IsConfinedLinkTarget(const std::wstring& linkName, const std::wstring& target);

}  // namespace zip
